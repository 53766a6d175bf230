#pragma once
// The program's receiver: tuning, section and teletext reception and the
// decoder, as the TV, guide and videotext parts use them (the recorder is a device,
// IDeviceSet).
//
// Threading and re-entrancy rules (every implementation keeps them):
// - Every call and every callback happens on the GUI thread.
// - No callback runs from inside a call of this interface: callbacks come only
//   from the event loop, so a caller never meets its own callback half-way
//   through a call. A callback may call anything here, including ending its
//   own subscription or making a new one.
// - A callback's bytes are valid only until the callback returns.
// - A subscription lasts as long as its handle. Destroying the handle stops
//   the deliveries at once (even from inside its own callback: no further
//   call of that callback follows). A handle may outlive its receiver; it then
//   does nothing when destroyed.
// - Results are the card's (CardResult); failures are never exceptions.
#include <cstdint>
#include <string>

#include "receiver/CSubscription.h"
#include "receiver/ReceiverTypes.h"

class CProgramInfo;
class CSVLFile;

class IReceiver {
  public:
    virtual ~IReceiver() = default;

    /// Tunes to `program` of `list` (its LNB is looked up in the list by
    /// name): sends the switch command, then the tuning record. Blocks for the
    /// switch command's pauses (up to 360 ms with a committed switch).
    virtual TuneResult Tune(const CSVLFile& list, const CProgramInfo& program) = 0;

    /// Delivers every matching section until the handle goes. Empty handle
    /// and `error` set when the card refused the filter or no socket opened.
    virtual CSubscription SubscribeSections(const SectionFilter& filter, SectionCallback callback,
                                            SubscribeError* error = nullptr) = 0;

    /// Delivers every teletext page of the stream on `pid`. The card acquires
    /// one teletext stream at a time: a second subscription fails with Busy.
    virtual CSubscription SubscribeTeletext(std::uint16_t pid, PageCallback callback,
                                            SubscribeError* error = nullptr) = 0;

    // Decoder.
    virtual CardResult SetVideoPid(std::uint16_t pid) = 0;
    virtual CardResult SetAudioPid(std::uint16_t pid) = 0;
    virtual DecoderState ReadDecoderState() = 0;
};
