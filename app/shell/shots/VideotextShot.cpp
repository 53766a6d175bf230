// Takes the picture of the videotext window for the documentation: tunes the
// card (the emulated one the key store names, started when the client library
// loads) to a transponder, takes the teletext of one PID into the window as
// the program does, waits for the page and grabs the window.
// Usage: videotext_shot OUT.png FREQUENCY_KHZ H|V SYMBOL_RATE TELETEXT_PID [PAGE]
// Run it under Xvfb with temporary HOME and XDG folders (tools/videotext-shot.sh).
#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "channellist/CLnb.h"
#include "channellist/CProgramInfo.h"
#include "channellist/CSVLFile.h"
#include "receiver/CKestrelCard.h"
#include "receiver/IReceiver.h"
#include "videotext/VtPageCache.h"
#include "videotext/windows/CVideotextDlg.h"

namespace {

std::shared_ptr<CLnb> UniversalLnb() {
    auto lnb = std::make_shared<CLnb>();
    lnb->LnbType = 3;
    lnb->SwitchFrequency = 11700000;
    lnb->LowBandLof = 9750000;
    lnb->HighBandLof = 10600000;
    lnb->PowerOn = 1;
    lnb->DiseqcType = 1;
    return lnb;
}

void RunFor(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 20);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 6) {
        std::fprintf(stderr,
                     "usage: videotext_shot OUT.png FREQUENCY_KHZ H|V SYMBOL_RATE PID [PAGE]\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    CSVLFile list;
    list.Lnbs.Set("Astra", UniversalLnb());
    auto program = std::make_unique<CProgramInfo>();
    program->Name = "Videotext";
    program->LnbName = "Astra";
    program->Frequency = std::atoi(argv[2]);
    program->PolarisationOrQam = argv[3][0] == 'V' ? 1 : 0;
    program->SymbolRate = std::atoi(argv[4]);
    program->TeletextPid = static_cast<std::uint16_t>(std::strtol(argv[5], nullptr, 0));
    const int page = argc > 6 ? std::atoi(argv[6]) : 100;

    CKestrelCard link;
    link.StartUp(nullptr);
    IReceiver* receiver = link.Receiver();
    if (!receiver || receiver->Tune(list, *program).status != TuneStatus::Locked) {
        std::fprintf(stderr, "videotext_shot: no lock on the transponder\n");
        return 1;
    }
    vt::VtPageCache cache;
    CVideotextDlg dialog(cache, nullptr);
    dialog.Open();
    CSubscription teletext = receiver->SubscribeTeletext(
        program->TeletextPid, [&](std::span<const std::uint8_t> d) { dialog.PageArrived(d); });
    dialog.show();
    dialog.SelectPage(page);
    QElapsedTimer waited;
    waited.start();
    while (!cache.Find(page) && waited.elapsed() < 60000) RunFor(100);
    RunFor(1500);  // the next page after a timer step draws it
    const bool ok = cache.Find(page) && dialog.grab().save(out);
    std::printf("%s %s (cache %d pages)\n", ok ? "wrote" : "FAILED", qPrintable(out),
                cache.CachedCount());
    teletext.Reset();
    dialog.reject();
    link.TearDown();
    return ok ? 0 : 1;
}
