// Shows the schedule list with an evening of one program in the category
// view, and the detail window of one of its events, and saves both as PNGs:
// guide_windows_shots <schedule.png> <detail.png>. Meant for the offscreen
// platform or a virtual X server; settings go to a temporary folder.
#include <QApplication>
#include <QHeaderView>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <deque>

#include "Allgemein/CGfxListCtrl.h"
#include "guide/CEPGInfo.h"
#include "guide/windows/CDetailWindow.h"
#include "guide/windows/CScheduleListWindow.h"
#include "guide/windows/GuideCells.h"

namespace {

struct Event {
    int day, hour, minute, minutes;
    std::uint8_t category, rating;
    const char* name;
    const char* shortText;
    const char* description;
};

const Event kEvening[] = {
    {11, 17, 0, 45, 0x2, 0, "Brisant", "Boulevardmagazin", ""},
    {11, 17, 45, 45, 0x3, 0, "Wer weiß denn sowas?", "Quizshow", ""},
    {11, 18, 30, 50, 0x1, 9, "Großstadtrevier", "Krimiserie", ""},
    {11, 19, 20, 5, 0x2, 0, "Wetter vor acht", "Wetterbericht", ""},
    {11, 19, 25, 5, 0x9, 0, "Wissen vor acht – Natur", "Wissensmagazin", ""},
    {11, 19, 30, 5, 0x8, 0, "Börse vor acht", "Wirtschaftsmagazin", ""},
    {11, 19, 35, 15, 0x4, 0, "Sportschau vor acht", "Sportnachrichten", ""},
    {11, 19, 50, 10, 0x1, 0, "Familie Dr. Kleist", "Familienserie", ""},
    {11, 20, 0, 15, 0x2, 0, "Tagesschau", "Nachrichten", ""},
    {11, 20, 15, 90, 0x1, 9, "Tatort: Tödliche Grüße", "Kriminalfilm",
     "Ein Postbote wird am Rand des Großmarkts tot aufgefunden. Die Kommissare Brandt und "
     "Özdemir stoßen auf Grußkarten, die ein Unbekannter seit Wochen an Geschäftsleute der "
     "Südstadt verschickt. Jede kündigt einen Tod an, und der nächste Termin ist schon morgen."},
    {11, 21, 45, 60, 0x8, 0, "Hart aber fair", "Diskussion", ""},
    {11, 22, 45, 30, 0x2, 0, "Tagesthemen", "Nachrichtenmagazin", ""},
    {11, 23, 15, 45, 0x7, 0, "Kulturzeit extra: Bühnen in Bewegung", "Kulturmagazin", ""},
    {12, 0, 0, 90, 0x1, 13, "Die Nacht der Jäger", "Thriller", ""},
    {12, 1, 30, 40, 0x6, 0, "Klänge der Nacht: Münchner Philharmoniker", "Konzert", ""},
    {12, 2, 10, 25, 0xA, 0, "Gärten im Frühling", "Ratgeber", ""},
    {12, 2, 35, 25, 0x5, 0, "Die Pfefferkörner", "Jugendserie", ""},
    {12, 3, 0, 30, 0x4, 0, "Sportschau: Fußball der Frauen", "Zusammenfassung", ""},
    {12, 3, 30, 60, 0x1, 3, "Ein Sommer am Bodensee", "Liebesfilm", ""},
    {12, 4, 30, 30, 0xB, 0, "Tagesschau mit Gebärdensprache", "Nachrichten", ""},
};

std::deque<CEPGInfo> Evening() {
    std::deque<CEPGInfo> records;
    for (const Event& e : kEvening) {
        CEPGInfo& r = records.emplace_back();
        r.Program.Name = r.ServiceName = "Das Erste HD";
        r.EventName = e.name;
        r.ShortText = e.shortText;
        r.Description = e.description;
        r.ContentHigh = e.category;
        r.Start = ArchiveDateTime::FromCivil({2024, 3, e.day, e.hour, e.minute, 0, 0});
        r.Duration = {ArchiveDateTime::Valid, e.minutes / 1440.0};
        r.ParentalRating = e.rating;
    }
    return records;
}

// Saves the window when it has been shown and laid out.
bool Save(QWidget& window, const char* path) {
    window.show();
    QEventLoop loop;
    QTimer::singleShot(300, &loop, &QEventLoop::quit);
    loop.exec();
    const bool saved = window.grab().save(QString::fromLocal8Bit(path));
    if (!saved) std::fprintf(stderr, "could not save %s\n", path);
    return saved;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <schedule.png> <detail.png>\n", argv[0]);
        return 2;
    }
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit());
    QApplication app(argc, argv);
    const std::deque<CEPGInfo> evening = Evening();
    ScheduleWindowHooks hooks;
    hooks.records = [&evening] {
        std::vector<const CEPGInfo*> rows;
        for (const CEPGInfo& r : evening) rows.push_back(&r);
        return rows;
    };
    CScheduleListWindow schedule(hooks);
    schedule.resize(1010, 486);
    schedule.show();  // starts the reception and loads the rows
    // The start times in full, as a user widens the column once.
    const std::pair<int, int> widths[] = {{GuideCells::ColStart, 215},
                                          {GuideCells::ColDuration, 70},
                                          {GuideCells::ColEvent, 290},
                                          {GuideCells::ColRating, 60}};
    for (const auto& [column, width] : widths)
        schedule.List().header()->resizeSection(column, width);
    schedule.List().SelectItems({9});
    schedule.List().selectionModel()->setCurrentIndex(schedule.List().Model()->IndexOfItem(9),
                                                      QItemSelectionModel::NoUpdate);
    schedule.List().setFocus();
    bool saved = Save(schedule, argv[1]);
    schedule.close();

    CDetailWindow detail(evening[9]);
    saved = Save(detail, argv[2]) && saved;
    return saved ? 0 : 1;
}
