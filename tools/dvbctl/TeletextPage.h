#pragma once
// dvbctl teletext without the card: the command line, the wait for one page
// (or subpage) in the videotext page cache, and the page as text or HTML.
// The card side (acquisition and socket) is in TeletextCommand.cpp.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "Options.h"
#include "videotext/VtPageCache.h"

struct TeletextRequest {
    std::uint16_t pid = 0;
    int page = 0;  // 100-899
    /// The subpage as the videotext window counts it ("02/05" is 2), i.e.
    /// record sub - 1; 0 takes the first subpage of the page that arrives.
    int sub = 0;
    std::string htmlFile;  // empty: the page as text
    int timeoutSeconds = 60;
    Options options;  // all options as given (for --svl and --program)
};

/// The request from the arguments after "teletext"; nothing (with the reason
/// in `error`) for a usage error.
std::optional<TeletextRequest> ParseTeletextRequest(const std::vector<std::string>& args,
                                                    std::string& error);

/// Feeds the card's datagrams into a page cache until the requested page is
/// there: Feed returns true from the first datagram after which it is.
class CTeletextPageWait {
  public:
    CTeletextPageWait(int page, int sub) : page_(page), sub_(sub) {}

    bool Feed(std::span<const std::uint8_t> datagram);
    bool Done() const { return index_ >= 0; }
    /// The record found and its index (valid once Done()).
    const vt::VtSubpage& Found() const;
    int FoundIndex() const { return index_; }
    /// The page's records in the cache now (0 when it has not arrived).
    int SubpageCount() const;
    /// Datagrams fed and those the cache took.
    int Fed() const { return fed_; }
    int Accepted() const { return accepted_; }
    const vt::VtPageCache& Cache() const { return cache_; }

  private:
    int Ready() const;

    vt::VtPageCache cache_;
    int page_, sub_;
    int index_ = -1;
    int fed_ = 0, accepted_ = 0;
};

/// "Seite 102 Unterseite 2" (or "Seite 102" without a subpage) "nicht
/// innerhalb von 60 s empfangen", with what did arrive of the page.
std::string TimeoutMessage(const CTeletextPageWait& wait, const TeletextRequest& request);

/// The found record as dvbctl prints or writes it: 25 lines of text (UTF-8),
/// or the HTML export of a copy stamped with the export header.
std::string RenderText(const vt::VtSubpage& record);
std::string RenderHtml(const vt::VtSubpage& record, int page, int subpageIndex);
