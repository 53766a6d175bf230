// Shows the playlist window with a few entries, one of them playing, and
// saves it as a PNG: recording_windows_shots <file.png>. Meant for a virtual
// X server (xvfb-run); settings and data go to a temporary folder.
#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "Allgemein/CGfxListCtrl.h"
#include "recording/CPlayListFile.h"
#include "recording/windows/CPlayListWindow.h"

namespace {

struct NoVcr : IVcrCommandSink {
    using IVcrCommandSink::PostVcrCommand;
    void PostVcrCommand(int, std::uint32_t, const std::string&) override {}
};

CPlayListEntry Entry(const char* name, std::uint32_t lengthMs, QDateTime played,
                     std::uint32_t repetitions, std::uint32_t pause, std::uint32_t status) {
    CPlayListEntry e;
    e.fileName = name;
    e.playLengthMs = lengthMs;
    e.lastPlayed = LocalDateTime::FromLocal(played);
    e.repetitions = repetitions;
    e.pauseSec = pause;
    e.status = status;
    return e;
}

CPlayListFile DemoList() {
    const QDate day(2024, 3, 9);
    CPlayListFile list;
    list.entries = {
        Entry("/home/video/Aufnahmen/Tagesschau-20240309.pva", 900480,
              QDateTime(day, QTime(20, 0, 4)), 1, 0, CPlayListEntry::Finished),
        Entry("/home/video/Aufnahmen/Tatort - Schöne Aussicht.pva", 5283040,
              QDateTime(day, QTime(20, 15, 9)), 1, 5, CPlayListEntry::Playing),
        Entry("/home/video/Aufnahmen/Sportschau.pva", 2715000,
              QDateTime(day.addDays(-1), QTime(18, 30)), 2, 10, CPlayListEntry::Stopped),
        Entry("/home/video/Radio/Hörspiel.mp2", 0, QDateTime(day.addDays(-3), QTime(22, 5, 41)), 3,
              0, CPlayListEntry::Stopped),
    };
    return list;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <file.png>\n", argv[0]);
        return 2;
    }
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit());
    QApplication app(argc, argv);
    const QString out = QString::fromLocal8Bit(argv[1]);
    CPlayListFile list = DemoList();
    NoVcr vcr;
    CPlayListWindow window(list, home.filePath(QStringLiteral("PlayList.dat")).toStdString(), vcr);
    window.resize(1130, 210);
    window.show();
    window.List().SelectItems({1});
    window.List().setFocus();
    bool saved = false;
    QTimer::singleShot(500, &window, [&] {
        saved = window.grab().save(out);
        app.quit();
    });
    app.exec();
    if (!saved) std::fprintf(stderr, "could not save %s\n", argv[1]);
    return saved ? 0 : 1;
}
