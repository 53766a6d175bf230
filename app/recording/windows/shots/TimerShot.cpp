// Shows the timer list with three timers (one weekly and armed, one
// recording, one finished) and the timer dialog on the weekly one, and saves
// both as PNGs: timer_windows_shots <list.png> <dialog.png>. Runs on the
// offscreen platform too; settings and data go to a temporary folder.
#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "Allgemein/CGfxListCtrl.h"
#include "recording/CTimerList.h"
#include "recording/windows/CTimerDialog.h"
#include "recording/windows/CTimerDialogs.h"
#include "recording/windows/CTimerListWindow.h"

namespace {

struct NoMessages : IRecordingMessages {
    void ShowError(const QString&, const QString&) override {}
};

CProgramInfo Program(const char* name) {
    CProgramInfo p;
    p.Name = name;
    return p;
}

void Fill(CTimerList& timers) {
    const QDate day(2024, 3, 9);
    const std::uint32_t weekdays =
        CTimerEntry::kWeekly | CTimerEntry::DayBit(Qt::Monday) | CTimerEntry::DayBit(Qt::Wednesday);
    timers.Add(Program("Das Erste"),
               {QDateTime(day.addDays(2), QTime(20, 0)), QDateTime(day.addDays(2), QTime(20, 15)),
                "/home/video/Aufnahmen/Tagesschau.pva", 3, weekdays});
    timers.Add(Program("ZDF"), {QDateTime(day, QTime(20, 15)), QDateTime(day, QTime(21, 45)),
                                "/home/video/Aufnahmen/Der Alte.pva", 3, CTimerEntry::kPowerOff});
    timers.Add(Program("Deutschlandfunk"),
               {QDateTime(day.addDays(-1), QTime(19, 5)), QDateTime(day.addDays(-1), QTime(20, 0)),
                "/home/video/Radio/Hörspiel.mp2", 1, 0});
    timers.Entries()[1].status = CTimerEntry::Recording;
    timers.Entries()[2].status = CTimerEntry::Finished;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <list.png> <dialog.png>\n", argv[0]);
        return 2;
    }
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit());
    QApplication app(argc, argv);
    NoMessages messages;
    CTimerList timers(home.filePath(QStringLiteral("Timer.dat")).toStdString(), messages);
    Fill(timers);
    CTimerListWindow window(timers);
    window.resize(1180, 160);
    window.show();
    window.List().SelectItems({1});
    window.List().setFocus();
    CTimerDialogs boxes(&window);
    CTimerEntry weekly = timers.Entries()[0];
    CTimerDialog dialog(weekly, TimerDialogMode::Edit, boxes);
    dialog.show();
    bool saved = false;
    QTimer::singleShot(500, &window, [&] {
        saved = window.grab().save(QString::fromLocal8Bit(argv[1])) &&
                dialog.grab().save(QString::fromLocal8Bit(argv[2]));
        app.quit();
    });
    app.exec();
    if (!saved) std::fprintf(stderr, "could not save the pictures\n");
    return saved ? 0 : 1;
}
