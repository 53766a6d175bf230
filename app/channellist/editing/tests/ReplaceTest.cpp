#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>

#include "TestHost.h"
#include "channellist/editing/CListEditor.h"
#include "channellist/editing/CReplaceDialog.h"
#include "channellist/editing/CReplaceSession.h"
#include "channellist/editing/CTextReplacer.h"
#include "channellist/editing/EditTexts.h"

namespace {
ReplaceRequest SportRequest(int bits) {
    return {QStringLiteral("Sport"), QStringLiteral("Sport 1"), ReplaceOptions::FromBits(bits)};
}
constexpr int Names = 0x04, Providers = 0x08, Lnbs = 0x02, All = 0x01, Case = 0x10, Whole = 0x20;

class ReplaceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        host.list.Loaded = true;
        host.AddPrograms({"sport", "Sport Extra", "Sport", "News"});
    }
    TestHost host;
    RecordingSink sink;
    CListEditor editor{host, sink};
    CReplaceSession session{editor};
};
}  // namespace

struct MatchCase {
    const char* field;
    const char* search;
    bool matchCase;
    bool equal;
};
class FieldEquality : public ::testing::TestWithParam<MatchCase> {};
TEST_P(FieldEquality, WholeFieldWithOrWithoutCase) {
    const auto& c = GetParam();
    EXPECT_EQ(CTextReplacer::FieldEquals(c.field, QString::fromUtf8(c.search), c.matchCase),
              c.equal);
}
INSTANTIATE_TEST_SUITE_P(
    Rules, FieldEquality,
    ::testing::Values(MatchCase{"sport", "Sport", false, true},
                      MatchCase{"sport", "Sport", true, false},
                      MatchCase{"Sport Extra", "Sport", false, false},
                      MatchCase{"Sport", "Sport Extra", false, false},
                      MatchCase{"", "", false, true},
                      // Windows-1252 bytes compare as the characters they stand for.
                      MatchCase{"M\xDCNCHEN", "münchen", false, true},
                      MatchCase{"M\xDCNCHEN", "münchen", true, false}));

TEST_F(ReplaceTest, SportBecomesSport1OnlyWhereTheWholeNameMatches) {
    EXPECT_EQ(session.ReplaceAll(SportRequest(Names | Whole)), 2);
    EXPECT_EQ(host.Names(),
              (std::vector<std::string>{"Sport 1", "Sport Extra", "Sport 1", "News"}));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, QStringLiteral("2 Texte wurden ersetzt"));
    EXPECT_EQ(sink.messages[0].caption, QStringLiteral("Suchen und Ersetzen"));
    EXPECT_EQ(sink.messages[0].icon, IMessageSink::Icon::Information);
    EXPECT_TRUE(host.Modified());
}

TEST_F(ReplaceTest, MatchCaseLeavesOtherCasesAlone) {
    EXPECT_EQ(session.ReplaceAll(SportRequest(Names | Whole | Case)), 1);
    EXPECT_EQ(host.Names(), (std::vector<std::string>{"sport", "Sport Extra", "Sport 1", "News"}));
}

struct ColumnCase {
    int bits;
    bool name, provider, lnb;
};
class ColumnChoice : public ::testing::TestWithParam<ColumnCase> {};
TEST_P(ColumnChoice, OnlyTheChosenFieldsChange) {
    const auto& c = GetParam();
    auto p = MakeProgram("X");
    p->Provider = "X";
    p->LnbName = "X";
    const ReplaceRequest r{QStringLiteral("x"), QStringLiteral("Y"),
                           ReplaceOptions::FromBits(c.bits)};
    const auto edits = CTextReplacer::EditsFor(*p, 7, r);
    auto has = [&](ProgramField f) {
        for (const auto& e : edits)
            if (e.field == f && e.index == 7 && e.before == "X" && e.after == "Y") return true;
        return false;
    };
    EXPECT_EQ(has(ProgramField::Name), c.name);
    EXPECT_EQ(has(ProgramField::Provider), c.provider);
    EXPECT_EQ(has(ProgramField::LnbName), c.lnb);
    EXPECT_EQ(edits.size(), std::size_t(c.name + c.provider + c.lnb));
}
INSTANTIATE_TEST_SUITE_P(Bits, ColumnChoice,
                         ::testing::Values(ColumnCase{All, true, true, true},
                                           ColumnCase{Names, true, false, false},
                                           ColumnCase{Providers, false, true, false},
                                           ColumnCase{Lnbs, false, false, true},
                                           ColumnCase{Lnbs | Providers, false, true, true},
                                           ColumnCase{0, false, false, false}));

TEST_F(ReplaceTest, ReplaceButtonGoesOneRowPerPressThenReportsTheCount) {
    const auto r = SportRequest(Names | Whole);
    EXPECT_TRUE(session.ReplaceNext(r));
    EXPECT_EQ(host.Names()[0], "Sport 1");
    EXPECT_EQ(host.Names()[2], "Sport");
    EXPECT_EQ(session.Position(), 1u);
    EXPECT_TRUE(sink.messages.empty());

    EXPECT_TRUE(session.ReplaceNext(r));
    EXPECT_EQ(host.Names()[2], "Sport 1");
    EXPECT_EQ(session.Position(), 3u);
    EXPECT_EQ(session.Count(), 2);

    EXPECT_FALSE(session.ReplaceNext(r));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, QStringLiteral("2 Texte wurden ersetzt"));
    EXPECT_EQ(sink.messages[0].caption, QString::fromUtf8(EditText::AppTitle));
    EXPECT_EQ(session.Position(), 0u);
    EXPECT_EQ(session.Count(), 0);
    // Each press is its own undo step.
    EXPECT_EQ(editor.UndoStack()->count(), 2);
}

TEST_F(ReplaceTest, NoMatchIsReportedInFrontOfAllWindows) {
    const ReplaceRequest r{QStringLiteral("Nichts"), QStringLiteral("x"),
                           ReplaceOptions::FromBits(All | Whole)};
    EXPECT_EQ(session.ReplaceAll(r), 0);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, QStringLiteral("Keine Übereinstimmung gefunden"));
    EXPECT_EQ(sink.messages[0].caption, QStringLiteral("Suchen und Ersetzen"));
    EXPECT_TRUE(sink.messages[0].topmost);
    EXPECT_FALSE(editor.UndoStack()->canUndo());
    EXPECT_FALSE(host.Modified());
}

TEST_F(ReplaceTest, ScopeSelectionReplacesOnlySelectedRowsEvenWithTheReplaceButton) {
    host.selected = {2, 1};
    EXPECT_FALSE(session.ReplaceNext(SportRequest(Names)));  // acts as "replace all"
    EXPECT_EQ(host.Names(), (std::vector<std::string>{"sport", "Sport Extra", "Sport 1", "News"}));
    EXPECT_EQ(sink.LastText(), QStringLiteral("1 Texte wurden ersetzt"));
}

TEST_F(ReplaceTest, WholeListMeansTheRowsTheListShows) {
    host.listedOverride = {3, 2};  // a filtered list showing only two programs
    EXPECT_EQ(session.ReplaceAll(SportRequest(Names | Whole)), 1);
    EXPECT_EQ(host.Names()[0], "sport");
    EXPECT_EQ(host.Names()[2], "Sport 1");
}

TEST_F(ReplaceTest, FindNextSelectsTheNextWholeFieldMatch) {
    const auto r = SportRequest(Names | Whole);
    EXPECT_TRUE(session.FindNext(r));
    EXPECT_EQ(host.selected, (std::vector<std::size_t>{0}));
    EXPECT_TRUE(session.FindNext(r));
    EXPECT_EQ(host.selected, (std::vector<std::size_t>{2}));  // "Sport Extra" skipped
    EXPECT_FALSE(session.FindNext(r));
    EXPECT_EQ(sink.LastText(), QStringLiteral("Keine Übereinstimmung gefunden"));
    EXPECT_EQ(host.Names()[0], "sport");  // searching changes nothing
}

TEST(ReplaceSettingsTest, CrossedNamesAndDefault) {
    QTemporaryDir dir;
    QSettings settings(dir.filePath("s.ini"), QSettings::IniFormat);
    const ReplaceRequest defaults = ReplaceSettings::Load(settings);
    EXPECT_EQ(defaults.options.ToBits(), 1);
    EXPECT_TRUE(defaults.search.isEmpty());

    ReplaceSettings::Save(settings, {QStringLiteral("suche"), QStringLiteral("ersatz"),
                                     ReplaceOptions::FromBits(0x3F)});
    EXPECT_EQ(settings.value("Einstellungen/Ersetzstring").toString(), QStringLiteral("suche"));
    EXPECT_EQ(settings.value("Einstellungen/Suchstring").toString(), QStringLiteral("ersatz"));
    EXPECT_EQ(settings.value("Einstellungen/ErsetzOptionen").toInt(), 0x3F);
    const ReplaceRequest back = ReplaceSettings::Load(settings);
    EXPECT_EQ(back.options, ReplaceOptions::FromBits(0x3F));
    EXPECT_EQ(back.search, QStringLiteral("suche"));
}

TEST_F(ReplaceTest, DialogReadsSettingsAndCancelStoresTheSearchTextAsErsetzstring) {
    QTemporaryDir dir;
    QSettings settings(dir.filePath("s.ini"), QSettings::IniFormat);
    settings.setValue("Einstellungen/Ersetzstring", "alt");
    settings.setValue("Einstellungen/ErsetzOptionen", 0x24);
    CReplaceDialog dialog(editor, settings);
    EXPECT_EQ(dialog.Request().search, QStringLiteral("alt"));
    EXPECT_EQ(dialog.Request().options, ReplaceOptions::FromBits(0x24));

    dialog.findChild<QLineEdit*>("search")->setText(QStringLiteral("Sport"));
    dialog.findChild<QLineEdit*>("replacement")->setText(QStringLiteral("Sport 1"));
    dialog.CancelButton()->click();
    EXPECT_EQ(settings.value("Einstellungen/Ersetzstring").toString(), QStringLiteral("Sport"));
    EXPECT_EQ(settings.value("Einstellungen/Suchstring").toString(), QStringLiteral("Sport 1"));
    EXPECT_EQ(settings.value("Einstellungen/ErsetzOptionen").toInt(), 0x24);
}

TEST_F(ReplaceTest, DialogButtonsDriveTheSessionAndEditingResetsThePosition) {
    QTemporaryDir dir;
    QSettings settings(dir.filePath("s.ini"), QSettings::IniFormat);
    CReplaceDialog dialog(editor, settings);
    dialog.SetRequest(SportRequest(Names | Whole));
    dialog.ReplaceButton()->click();
    EXPECT_EQ(dialog.Session().Position(), 1u);
    dialog.findChild<QLineEdit*>("replacement")->setText(QStringLiteral("Sport 2"));
    EXPECT_EQ(dialog.Session().Position(), 0u);
    dialog.ReplaceAllButton()->click();
    EXPECT_EQ(host.Names()[2], "Sport 2");
    EXPECT_EQ(sink.LastText(), QStringLiteral("1 Texte wurden ersetzt"));
}

TEST_F(ReplaceTest, DialogWithoutAListReportsBadParameters) {
    host.noList = true;
    QTemporaryDir dir;
    QSettings settings(dir.filePath("s.ini"), QSettings::IniFormat);
    EXPECT_FALSE(CReplaceDialog::Run(editor, settings));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, QStringLiteral("Fehler bei der Übergabe der Parameter"));
    EXPECT_EQ(sink.messages[0].caption, QStringLiteral("Suchen und Ersetzen"));
}
