// Opens the program, LNB and stream dialogs on a demo program and saves each as
// a PNG: channellist_dialogs_shots <folder> [hex]. Meant for a virtual X server
// (xvfb-run) or the offscreen platform; it reads and writes no settings.
#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "channellist/CLnbTable.h"
#include "channellist/CProgramInfo.h"
#include "channellist/dialogs/CLnbDialog.h"
#include "channellist/dialogs/CProgramDialog.h"
#include "channellist/dialogs/CStreamsDialog.h"

namespace {

CStreaminfo Stream(std::uint16_t type, std::uint16_t pid, ByteBlock descriptors) {
    CStreaminfo s;
    s.StreamType = type;
    s.Pid = pid;
    s.Descriptors = std::move(descriptors);
    return s;
}

CProgramInfo DemoProgram() {
    CProgramInfo p;
    p.Name = "Das Erste HD";
    p.Provider = "ARD";
    p.FrontendType = 2;
    p.LnbName = "Astra 19.2\xB0 Ost";
    p.Frequency = 11494000;
    p.PolarisationOrQam = 0;
    p.SymbolRate = 22000000;
    p.ProgramType = 1;
    p.TransportStreamId = 1019;
    p.NetworkId = 1;
    p.OriginalNetworkId = 1;
    p.ServiceId = 10301;
    p.PcrPid = 5101;
    p.PmtPid = 5100;
    p.VideoPid = 5101;
    p.AudioPid = 5102;
    p.TeletextPid = 5104;
    p.Streams = {Stream(2, 5101, {0x52, 0x01, 0x01}),
                 Stream(3, 5102, {0x0A, 0x04, 'd', 'e', 'u', 0x01}),
                 Stream(4, 5103, {0x0A, 0x04, 'm', 'i', 's', 0x03}),
                 Stream(6, 5104, {0x56, 0x05, 'd', 'e', 'u', 0x09, 0x00})};
    return p;
}

CLnb DemoLnb() {
    CLnb l;
    l.LnbType = 3;
    l.LowFrequency = 10700000;
    l.HighFrequency = 12750000;
    l.SwitchFrequency = 11700000;
    l.LowBandLof = 9750000;
    l.HighBandLof = 10600000;
    l.PowerOn = 1;
    l.DiseqcType = 2;
    l.DiseqcRepeat = 1;
    return l;
}

bool Save(QWidget& dialog, const QString& file) {
    dialog.show();
    dialog.adjustSize();
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
    const bool ok = dialog.grab().save(file);
    std::printf("%s %s\n", ok ? "saved" : "FAILED", qPrintable(file));
    std::fflush(stdout);
    dialog.hide();
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    const bool hex = argc > 2 && QString::fromLocal8Bit(argv[2]) == "hex";
    QDir().mkpath(folder);
    QTemporaryDir scratch;  // the stream list keeps its layout here, not in the user's settings
    QSettings layout(scratch.filePath("layout.ini"), QSettings::IniFormat);

    CProgramInfo program = DemoProgram();
    CLnbTable lnbs;
    lnbs.Set(program.LnbName, std::make_shared<CLnb>(DemoLnb()));
    const DialogOptions options{hex, true};
    const QString suffix = hex ? "_hex" : "";

    CProgramDialog programDialog(program, &lnbs, 12, options);
    CLnbDialog lnbDialog(*lnbs.Find(program.LnbName), options);
    CStreamsDialog streamsDialog(program, options, {}, nullptr, &layout);
    bool ok = Save(programDialog, folder + "/programm_bearbeiten" + suffix + ".png");
    ok = Save(lnbDialog, folder + "/lnb_einstellungen" + suffix + ".png") && ok;
    ok = Save(streamsDialog, folder + "/streams" + suffix + ".png") && ok;
    return ok ? 0 : 1;
}
