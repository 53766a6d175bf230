#pragma once
// IReceiver on the card through the client library. It holds the device
// objects it needs (front end, decoder, teletext) for its whole
// life; create it once the connection is up, on the GUI thread, and destroy
// it before the connection goes (its filters are shut down then).
// Deliveries come from the library's dispatcher (kestrel::Dispatcher()).
#include <chrono>
#include <memory>

#include "kestrel/CFrontend.h"
#include "kestrel/CMPEGDecoder.h"
#include "kestrel/CTeletext.h"
#include "receiver/IReceiver.h"

class CKestrelReceiver : public IReceiver {
  public:
    /// Sleeps the tuning sequence makes for the switch (tests may shorten them).
    using Sleep = void (*)(std::chrono::milliseconds);

    explicit CKestrelReceiver(Sleep sleep = nullptr);
    ~CKestrelReceiver() override;
    CKestrelReceiver(const CKestrelReceiver&) = delete;
    CKestrelReceiver& operator=(const CKestrelReceiver&) = delete;

    TuneResult Tune(const CSVLFile& list, const CProgramInfo& program) override;
    CSubscription SubscribeSections(const SectionFilter& filter, SectionCallback callback,
                                    SubscribeError* error = nullptr) override;
    CSubscription SubscribeTeletext(std::uint16_t pid, PageCallback callback,
                                    SubscribeError* error = nullptr) override;
    CardResult SetVideoPid(std::uint16_t pid) override;
    CardResult SetAudioPid(std::uint16_t pid) override;
    DecoderState ReadDecoderState() override;

    /// Running section subscriptions (for tests and diagnostics).
    std::size_t SectionSubscriptionCount() const;

  private:
    struct Feeds;
    void SendSwitchCommand(const CTuningPlan& plan);

    Sleep sleep_;
    CFrontend frontend_;
    CMPEGDecoder decoder_;
    CTeletext teletext_;
    std::shared_ptr<Feeds> feeds_;
};
