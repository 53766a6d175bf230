#pragma once
// The teletext subscription on the card: the acquisition of one teletext
// stream and the socket on which its pages arrive, one page per datagram.
#include <cstdint>

#include "kestrel/CDVBWinSock.h"
#include "kestrel/CTeletext.h"
#include "receiver/ReceiverTypes.h"

class CTeletextFeed : public CDVBWinSock {
  public:
    CTeletextFeed(CTeletext& teletext, PageCallback callback);
    ~CTeletextFeed() override;

    /// Starts the acquisition of `pid` (or takes the running one when the
    /// teletext object is on already), opens the page socket and asks the
    /// card for every page and subpage.
    bool Open(std::uint16_t pid, SubscribeError& error);
    /// Closes the socket and ends the acquisition. Safe inside the callback.
    void Close();

    void OnDataArrival(std::uint8_t* data, int length) override;

  private:
    CTeletext& teletext_;
    PageCallback callback_;
    bool on_ = false;
};
