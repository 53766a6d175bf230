#pragma once
// One section subscription on the card: a section filter with its socket,
// handing each matching section to a callback as it arrives.
#include <cstdint>

#include "kestrel/CTableFilter.h"
#include "receiver/ReceiverTypes.h"

class CSectionFeed {
  public:
    explicit CSectionFeed(SectionCallback callback);
    ~CSectionFeed();
    CSectionFeed(const CSectionFeed&) = delete;
    CSectionFeed& operator=(const CSectionFeed&) = delete;

    /// Sets the filter and opens its socket; error tells why not.
    bool Open(const SectionFilter& filter, SubscribeError& error);
    /// Shuts the filter down; no callback follows. Safe inside the callback.
    void Close();
    bool IsOpen() const { return table_.IsOpened(); }

  private:
    static void OnSection(char* self, std::uint32_t);
    void Deliver();

    SectionCallback callback_;
    CTableFilter table_;
};
