// The texts of the guide's lists and detail window, the word wrapper of the
// description and the folding of the search.
#include <gtest/gtest.h>

#include <QStringList>

#include "guide/CEPGInfo.h"
#include "guide/windows/GuideCells.h"
#include "guide/windows/GuideDetailText.h"
#include "guide/windows/GuideSearch.h"

namespace {

namespace C = GuideCells;
using Lines = std::vector<std::string>;

ArchiveDateTime At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    return ArchiveDateTime::FromCivil({year, month, day, hour, minute, second, 0});
}

CEPGInfo Record(const char* name, const char* shortText = "", const char* description = "") {
    CEPGInfo r;
    r.ServiceName = "Das Erste HD";
    r.EventName = name;
    r.ShortText = shortText;
    r.Description = description;
    r.Start = At(2024, 3, 11, 20, 15);
    r.Duration = {ArchiveDateTime::Valid, 90.0 / 1440.0};
    return r;
}

std::string Str(const QString& s) { return s.toStdString(); }

TEST(GuideCells, RowNumbersAreRightAlignedInThreeAfterABlank) {
    EXPECT_EQ(Str(C::RowNumber(0)), "  1");
    EXPECT_EQ(Str(C::RowNumber(41)), " 42");
    EXPECT_EQ(Str(C::RowNumber(99)), " 100");
    EXPECT_EQ(Str(C::RowNumber(12344)), " 12345");
}

TEST(GuideCells, StartTimesHaveGermanNamesTwoDigitDaysAndNoBlankAfterTheDot) {
    EXPECT_EQ(Str(C::ListStart(At(2024, 3, 11, 20, 15))), "11.März 2024 20:15:00, Montag");
    EXPECT_EQ(Str(C::ListStart(At(2024, 3, 5, 6, 7, 8))), "05.März 2024 06:07:08, Dienstag");
    EXPECT_EQ(Str(C::DetailStart(At(2024, 3, 11, 20, 15))), "Montag, 11.März 2024 20:15:00");
    EXPECT_EQ(Str(C::DetailStart(At(2023, 12, 31, 23, 59, 59))),
              "Sonntag, 31.Dezember 2023 23:59:59");
    EXPECT_EQ(Str(C::DetailStart(At(2025, 1, 1))), "Mittwoch, 01.Januar 2025 00:00:00");
    QStringList week;
    for (int day = 9; day <= 15; ++day) week << C::ListStart(At(2024, 3, day)).section(", ", 1);
    EXPECT_EQ(week, QStringList({"Samstag", "Sonntag", "Montag", "Dienstag", "Mittwoch",
                                 "Donnerstag", "Freitag"}));
    EXPECT_EQ(Str(C::ListStart(At(1899, 12, 29, 6))), "29.Dezember 1899 06:00:00, Freitag")
        << "before day 0 of the stored times";
    EXPECT_EQ(Str(C::ListStart({ArchiveDateTime::Null, 45000})), "");
    EXPECT_EQ(Str(C::DetailStart({ArchiveDateTime::Invalid, 45000})), "");
}

TEST(GuideCells, CellsOfARecordAndOfAGroupRow) {
    CEPGInfo r = Record("Tatort: Tödliche Grüße", "Krimi");
    r.ParentalRating = 9;
    QStringList row;
    for (int column = 0; column < C::ColumnCount; ++column) row << C::Cell(&r, 4, column);
    EXPECT_EQ(row, QStringList({"", "  5", "Das Erste HD", "11.März 2024 20:15:00, Montag",
                                "90 min", "Tatort: Tödliche Grüße", "Krimi", "FSK12"}));
    r.ParentalRating = 0;
    EXPECT_EQ(Str(C::Cell(&r, 0, C::ColRating)), "frei");
    EXPECT_EQ(Str(C::DetailRating(0)), "frei");
    EXPECT_EQ(Str(C::DetailRating(9)), "12");
    r.Duration.days = 44.0 / 1440.0 + 59.0 / 86400.0;
    EXPECT_EQ(Str(C::Duration(r)), "44 min") << "whole minutes, not rounded";

    EXPECT_EQ(Str(C::Cell(nullptr, 0, C::ColService)), "unbekannt");
    EXPECT_EQ(Str(C::Cell(nullptr, 0, C::ColEvent)), "");
}

TEST(GuideCells, CategoryNamesOfTheFirstLevel) {
    QStringList names;
    for (int nibble = 0; nibble < 16; ++nibble) names << C::CategoryName(std::uint8_t(nibble));
    EXPECT_EQ(names,
              QStringList({"Sonstiges", "Film/Drama", "Nachrichten/Aktuelles", "Show/Spielshow",
                           "Sport", "Kinder/Jugend", "Musik/Ballett/Tanz", "Kunst/Kultur",
                           "Gesellschaft/Politik/Wirtschaft", "Bildung/Wissenschaft/Sachthemen",
                           "Freizeit/Hobby", "Besondere Merkmale", "Sonstiges", "Sonstiges",
                           "Sonstiges", "Sonstiges"}));
}

TEST(GuideCells, TitleNamesTheProgramOfTheFirstRow) {
    const CEPGInfo a = Record("A");
    CEPGInfo b = Record("B");
    b.ServiceName = "arte";
    EXPECT_EQ(Str(C::WindowTitle({&a, &b})), "Elektronischer Programmführer für 'Das Erste HD'");
    EXPECT_EQ(Str(C::WindowTitle({})), "Elektronischer Programmführer");
}

TEST(GuideDetailText, NameShortTextDurationBlankLineAndTheWrappedDescription) {
    const CEPGInfo r =
        Record("Tatort: Tödliche Grüße", "Krimi",
               "Ein Postbote wird am Rand des Großmarkts tot aufgefunden. Kommissarin Özdemir "
               "ermittelt.");
    EXPECT_EQ(GuideDetailText::Text(r),
              "Tatort: Tödliche Grüße\r\nKrimi (90 min)\r\n\r\n"
              "Ein Postbote wird am Rand des Großmarkts tot\r\n"
              "aufgefunden. Kommissarin Özdemir ermittelt.\r\n");
}

TEST(GuideSearch, FoldsCaseAndAccentsButNotSpellings) {
    EXPECT_EQ(Str(GuideSearch::Fold("MÜNCHEN")), "munchen");
    EXPECT_EQ(Str(GuideSearch::Fold("Tödliche Grüße")), Str(GuideSearch::Fold("TODLICHE GRUßE")));
    const CEPGInfo name = Record("Tatort: Tödliche Grüße");
    const CEPGInfo shortText = Record("Reportage", "Unterwegs in München");
    const CEPGInfo description = Record("Abendschau", "Magazin", "Ein Abend in Köln.");
    const CEPGInfo spelled = Record("Muenchen heute");
    const std::vector<const CEPGInfo*> all = {&name, &shortText, &description, &spelled};
    using Hits = std::vector<const CEPGInfo*>;
    EXPECT_EQ(GuideSearch::Find(all, "Munchen"), (Hits{&shortText}));
    EXPECT_EQ(GuideSearch::Find(all, "MÜNCHEN"), (Hits{&shortText}));
    EXPECT_EQ(GuideSearch::Find(all, "münchen"), (Hits{&shortText}))
        << "\"ü\" is no \"ue\": the spelled-out record is not found";
    EXPECT_EQ(GuideSearch::Find(all, "todl"), (Hits{&name}));
    EXPECT_EQ(GuideSearch::Find(all, "KÖLN"), (Hits{&description}));
    EXPECT_EQ(GuideSearch::Find(all, "e"), all) << "hits keep the list order";
    EXPECT_TRUE(GuideSearch::Find(all, "").empty());
}

}  // namespace
