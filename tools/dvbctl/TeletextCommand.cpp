// dvbctl teletext: the card's teletext of one PID into a videotext page
// cache, as the videotext window receives it (TTXOn, the page socket at the
// handle's port offset, the search table opened for every page), until the
// requested page is there; then that page as text or as an HTML export.
#include <chrono>
#include <cstdio>
#include <fstream>

#include "Commands.h"
#include "TeletextPage.h"
#include "kestrel/CDVBWinSock.h"
#include "kestrel/CPollDispatcher.h"
#include "kestrel/CTeletext.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::uint16_t kEveryPage = 0xFFFF;
constexpr int kRequestPages = 1;

// The page socket: every datagram goes into the wait until the page is
// there; later ones (in the same dispatcher round) leave the found copy alone.
class CPageSocket : public CDVBWinSock {
  public:
    explicit CPageSocket(CTeletextPageWait& wait) : wait_(wait) {}
    void OnDataArrival(std::uint8_t* data, int length) override {
        if (!data || length <= 0 || wait_.Done()) return;
        wait_.Feed(std::span<const std::uint8_t>(data, static_cast<std::size_t>(length)));
    }

  private:
    CTeletextPageWait& wait_;
};

// Teletext on for the PID; false with a message when the card refuses. A
// result of 3 means it is on already, and the handle is still the one to use.
bool StartTeletext(CTeletext& ttx, std::uint16_t pid) {
    const ErrReturn on = ttx.TTXOn(pid);
    if ((on == CCommonDVB::RET_OK || on == CCommonDVB::RET_INVALID) &&
        ttx.GetFilterHandle() != CTeletext::kNoHandle)
        return true;
    std::fprintf(stderr,
                 "dvbctl teletext: die Karte lehnt Videotext auf PID %u (0x%04X) ab, Ergebnis %d\n",
                 pid, pid, static_cast<int>(on));
    return false;
}

// Runs the dispatcher until the page is there or the time is up.
bool Receive(const CTeletextPageWait& wait, int seconds) {
    const auto until = Clock::now() + std::chrono::seconds(seconds);
    while (!wait.Done()) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
        if (left <= 0) return false;
        kestrel::DefaultPollDispatcher().RunOnce(static_cast<int>(left < 100 ? left : 100));
    }
    return true;
}

int Print(const CTeletextPageWait& wait, const TeletextRequest& r) {
    if (r.htmlFile.empty()) {
        std::fputs(RenderText(wait.Found()).c_str(), stdout);
        return 0;
    }
    const std::string html = RenderHtml(wait.Found(), r.page, wait.FoundIndex());
    std::ofstream out(r.htmlFile, std::ios::binary | std::ios::trunc);
    out.write(html.data(), static_cast<std::streamsize>(html.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "dvbctl teletext: HTML-Export-Datei kann nicht geöffnet werden: %s\n",
                     r.htmlFile.c_str());
        return 1;
    }
    std::printf("page %d %02d/%02d written to %s\n", r.page, wait.FoundIndex() + 1,
                wait.SubpageCount(), r.htmlFile.c_str());
    return 0;
}

}  // namespace

int TeletextCommand(const std::vector<std::string>& args) {
    std::string error;
    const auto request = ParseTeletextRequest(args, error);
    if (!request) {
        std::fprintf(stderr, "dvbctl teletext: %s\n", error.c_str());
        return 2;
    }
    const TeletextRequest& r = *request;
    if (!NeedCard()) return 1;
    if (r.options.Has("svl") && TuneFromList(r.options, "teletext", stderr) != 0) return 1;
    CTeletext ttx;
    if (!StartTeletext(ttx, r.pid)) return 1;
    CTeletextPageWait wait(r.page, r.sub);
    CPageSocket socket(wait);
    int socketError = 0;
    if (!socket.SOpen(ttx.GetFilterHandle(), &socketError)) {
        std::fprintf(stderr,
                     "dvbctl teletext: der Seiten-Socket am Portversatz %u schlägt fehl (%d)\n",
                     ttx.GetFilterHandle(), socketError);
        ttx.TTXOff();
        return 1;
    }
    const ErrReturn search =
        ttx.TTXModifySearchTable(kEveryPage, kEveryPage, kEveryPage, TTX_REQUEST(kRequestPages));
    if (search != CCommonDVB::RET_OK)
        std::fprintf(stderr, "dvbctl teletext: die Suchtabelle wurde nicht gesetzt (Ergebnis %d)\n",
                     static_cast<int>(search));
    const bool received = Receive(wait, r.timeoutSeconds);
    ttx.TTXOff();
    socket.SClose();
    if (!received) {
        std::fprintf(stderr, "dvbctl teletext: %s\n", TimeoutMessage(wait, r).c_str());
        return 1;
    }
    return Print(wait, r);
}
