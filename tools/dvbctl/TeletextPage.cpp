#include "TeletextPage.h"

#include <algorithm>

#include "videotext/VtCells.h"
#include "videotext/VtExport.h"

namespace {

constexpr const char* kKnown[] = {"svl", "program", "pid", "page", "sub", "html", "timeout"};
constexpr std::uint32_t kMaxPid = 0x1FFF;
constexpr int kMaxTimeoutSeconds = 3600;

bool KnownOption(const std::string& name) {
    return std::find(std::begin(kKnown), std::end(kKnown), name) != std::end(kKnown);
}

// Checks the values of `o` into `r`; false with the reason in `error`.
bool ReadValues(const Options& o, TeletextRequest& r, std::string& error) {
    const auto pid = o.Number("pid");
    if (!pid || *pid > kMaxPid) {
        error = "--pid PID (0-8191, dezimal oder 0x hex) ist nötig";
        return false;
    }
    r.pid = static_cast<std::uint16_t>(*pid);
    const auto page = o.Decimal("page");
    if (!page || *page < vt::kFirstPage || *page > vt::kLastPage) {
        error = "--page NNN (100-899) ist nötig";
        return false;
    }
    r.page = static_cast<int>(*page);
    if (o.Has("sub")) {
        const auto sub = o.Decimal("sub");
        if (!sub || *sub < 1 || *sub > vt::kMaxSubpages) {
            error = "--sub N muss 1-64 sein";
            return false;
        }
        r.sub = static_cast<int>(*sub);
    }
    if (o.Has("timeout")) {
        const auto seconds = o.Decimal("timeout");
        if (!seconds || *seconds < 1 || *seconds > kMaxTimeoutSeconds) {
            error = "--timeout S muss 1-3600 Sekunden sein";
            return false;
        }
        r.timeoutSeconds = static_cast<int>(*seconds);
    }
    r.htmlFile = o.Text("html");
    if (o.Has("html") && r.htmlFile.empty()) {
        error = "--html DATEI braucht einen Dateinamen";
        return false;
    }
    if (o.Has("program") && !o.Has("svl")) {
        error = "--program NAME braucht --svl LISTE";
        return false;
    }
    return true;
}

}  // namespace

std::optional<TeletextRequest> ParseTeletextRequest(const std::vector<std::string>& args,
                                                    std::string& error) {
    // --text is the one option without a value; the rest are pairs.
    std::vector<std::string> pairs;
    bool text = false;
    for (const auto& a : args) {
        if (a == "--text")
            text = true;
        else
            pairs.push_back(a);
    }
    TeletextRequest r;
    if (!r.options.Parse(pairs)) {
        error = r.options.error();
        return std::nullopt;
    }
    for (const auto& name : r.options.Names()) {
        if (!KnownOption(name)) {
            error = "unbekannte Option --" + name;
            return std::nullopt;
        }
    }
    if (text && r.options.Has("html")) {
        error = "--text und --html schließen einander aus";
        return std::nullopt;
    }
    if (!ReadValues(r.options, r, error)) return std::nullopt;
    return r;
}

bool CTeletextPageWait::Feed(std::span<const std::uint8_t> datagram) {
    ++fed_;
    if (cache_.Store(datagram).accepted) ++accepted_;
    if (index_ < 0) index_ = Ready();
    return index_ >= 0;
}

// Checked after every datagram, so without --sub the one valid record of a
// page that has just arrived for the first time is the first one that came.
int CTeletextPageWait::Ready() const {
    if (sub_ == 0) return cache_.FirstValid(page_);
    const vt::VtSubpage* record = cache_.Record(page_, sub_ - 1);
    return record && record->valid ? sub_ - 1 : -1;
}

const vt::VtSubpage& CTeletextPageWait::Found() const { return *cache_.Record(page_, index_); }

int CTeletextPageWait::SubpageCount() const { return cache_.SubpageCount(page_); }

std::string TimeoutMessage(const CTeletextPageWait& wait, const TeletextRequest& request) {
    std::string what = "Seite " + std::to_string(request.page);
    if (request.sub > 0) what += " Unterseite " + std::to_string(request.sub);
    what += " nicht innerhalb von " + std::to_string(request.timeoutSeconds) + " s empfangen";
    if (request.sub > 0 && wait.SubpageCount() > 0)
        what += " (die Seite hat " + std::to_string(wait.SubpageCount()) +
                (wait.SubpageCount() == 1 ? " Unterseite)" : " Unterseiten)");
    what += "; " + std::to_string(wait.Fed()) + " Seiten eingetroffen, " +
            std::to_string(wait.Cache().CachedCount()) + " im Speicher";
    return what;
}

std::string RenderText(const vt::VtSubpage& record) {
    return vt::PageText(record.chars, record.national);
}

std::string RenderHtml(const vt::VtSubpage& record, int page, int subpageIndex) {
    vt::PageChars stamped = record.chars;  // the cached copy keeps its header
    return vt::ExportRecord(stamped, record.national, page, subpageIndex);
}
