// The videotext window: the page buttons' limits, typing a number, the
// display update on an arriving page, subpages, the click on a page number at
// a scaled size, the one view slot, Escape and Enter, the HTML export with its
// question before overwriting and its error box.
#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include "videotext/VtPageCache.h"
#include "videotext/windows/CVideotextDlg.h"
#include "videotext/windows/CVtPageView.h"
#include "videotext/windows/VtExportFolder.h"
#include "videotext/windows/VtPagePainter.h"
#include "videotext/windows/VtWindowTexts.h"
#include "videotext/windows/tests/VtTestPages.h"

namespace {

namespace T = VtWindowTexts;
using vttest::Datagram;
using vttest::PageBuilder;

class VideotextDlgTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(dlg.Open()); }
    void TearDown() override {
        if (dlg.isVisible() || CVideotextDlg::SlotTaken()) dlg.reject();
    }

    // A page arrives; the display updates when a redraw is pending.
    void Arrive(const std::vector<std::uint8_t>& datagram) { dlg.PageArrived(datagram); }

    vt::VtPageCache cache;
    CVideotextDlg dlg{cache, nullptr};
};

TEST_F(VideotextDlgTest, PageButtonsStopAt101And899) {
    EXPECT_EQ(dlg.CurrentPage(), 100);
    dlg.PreviousButton()->click();
    EXPECT_EQ(dlg.CurrentPage(), 100);  // only above 101 it goes down
    dlg.SelectPage(102);
    dlg.PreviousButton()->click();
    dlg.PreviousButton()->click();
    EXPECT_EQ(dlg.CurrentPage(), 101);
    EXPECT_EQ(dlg.PageField()->text(), QStringLiteral("101"));
    dlg.SelectPage(898);
    dlg.NextButton()->click();
    dlg.NextButton()->click();
    EXPECT_EQ(dlg.CurrentPage(), 899);
    dlg.FirstButton()->click();
    EXPECT_EQ(dlg.CurrentPage(), 100);
    EXPECT_EQ(dlg.StatusText()->text(), T::Searching(100));
}

TEST_F(VideotextDlgTest, TypedNumbersInRangeBecomeCurrentAtOnce) {
    dlg.show();
    QLineEdit* field = dlg.PageField();
    field->setFocus();
    field->clear();
    QTest::keyClicks(field, QStringLiteral("25"));
    EXPECT_EQ(dlg.CurrentPage(), 100);  // 25 is no page
    QTest::keyClicks(field, QStringLiteral("0"));
    EXPECT_EQ(dlg.CurrentPage(), 250);
    field->clear();
    QTest::keyClicks(field, QStringLiteral("950"));
    EXPECT_EQ(dlg.CurrentPage(), 250);  // above 899: ignored
    field->clear();
    QTest::keyClicks(field, QStringLiteral("a1b"));
    EXPECT_EQ(field->text(), QStringLiteral("1"));  // digits only
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_TRUE(dlg.isVisible());  // Enter in the field does not end the window
}

TEST_F(VideotextDlgTest, ArrivingPageUpdatesTheDisplayOnlyWhenARedrawIsPending) {
    Arrive(Datagram(100, 0, "ERSTE FASSUNG"));
    EXPECT_EQ(dlg.windowTitle(), T::TitleOf(100));
    EXPECT_EQ(dlg.StatusText()->text(), T::Found(100));
    EXPECT_EQ(dlg.ReceivedText()->text(), QStringLiteral("100"));
    EXPECT_FALSE(dlg.RedrawPending());
    EXPECT_EQ(dlg.PageView()->Page().rows[1].cells[0].glyph, U'E');
    Arrive(Datagram(101));
    Arrive(Datagram(100, 0, "ZWEITE FASSUNG"));
    EXPECT_EQ(dlg.PageView()->Page().rows[1].cells[0].glyph, U'E');  // no redraw pending
    EXPECT_EQ(dlg.ReceivedText()->text(), QStringLiteral("100"));
    dlg.TimerStep();
    EXPECT_EQ(dlg.CacheText()->text(), T::Cache(2));
    Arrive(Datagram(101));
    EXPECT_EQ(dlg.PageView()->Page().rows[1].cells[0].glyph, U'Z');
}

TEST_F(VideotextDlgTest, UncachedPageShowsOnlyTheLiveHeaderAndKeepsSearching) {
    dlg.SelectPage(300);
    Arrive(Datagram(150));
    EXPECT_EQ(dlg.StatusText()->text(), T::Searching(300));
    EXPECT_EQ(dlg.PageView()->Page().rowCount, 1);
    EXPECT_TRUE(dlg.RedrawPending());
    EXPECT_EQ(dlg.windowTitle(), T::Title);
}

TEST_F(VideotextDlgTest, RecordNotYetReceivedShowsTheLiveHeaderInWhite) {
    Arrive(Datagram(300, 2, "Seite 2/5"));
    cache.Find(300)->subpages[1].valid = false;  // no record of the page is valid
    dlg.SelectPage(300);
    Arrive(Datagram(150));
    const vt::DisplayPage& page = dlg.PageView()->Page();
    EXPECT_EQ(page.rowCount, vt::kRows);
    const auto& header = page.rows[0].cells;
    EXPECT_EQ(header[8].glyph, U'1');  // "P150" of the live header from column 7
    EXPECT_EQ(header[9].glyph, U'5');
    EXPECT_EQ(header[8].fg, vt::White);
    EXPECT_EQ(page.rows[1].cells[0].glyph, U' ');

    dlg.SelectPage(301);  // not cached: the live header in green
    Arrive(Datagram(151));
    EXPECT_EQ(dlg.PageView()->Page().rows[0].cells[8].fg, vt::Green);
}

TEST_F(VideotextDlgTest, WrongDatagramsAreNotStored) {
    std::vector<std::uint8_t> shortOne = Datagram(100);
    shortOne.pop_back();
    Arrive(shortOne);
    EXPECT_EQ(cache.CachedCount(), 0);
    EXPECT_TRUE(dlg.ReceivedText()->text().isEmpty());
}

TEST_F(VideotextDlgTest, SubpageButtonsStepAndWrap) {
    dlg.SelectPage(205);
    for (int s1 = 1; s1 <= 3; ++s1) {
        Arrive(Datagram(205, s1, PageBuilder().Put(1, 0, std::to_string(s1) + "/3").chars));
        Arrive(Datagram(150));  // no immediate repeat of 205
    }
    dlg.TimerStep();
    EXPECT_EQ(dlg.SubpageText()->text(), QStringLiteral("01/03"));
    dlg.NextSubpageButton()->click();
    dlg.NextSubpageButton()->click();
    EXPECT_EQ(dlg.SubpageText()->text(), QStringLiteral("03/03"));
    dlg.NextSubpageButton()->click();
    EXPECT_EQ(dlg.CurrentSubpage(), 0);
    dlg.PreviousSubpageButton()->click();
    EXPECT_EQ(dlg.CurrentSubpage(), 2);
    Arrive(Datagram(150));
    EXPECT_EQ(dlg.PageView()->Page().rows[1].cells[0].glyph, U'3');
}

// Clicks in the middle of the drawn cell (row, column) of the shown page.
void ClickCell(CVtPageView* view, int row, int column) {
    const QPointF logical(VtPainter::kTextX + VtPainter::kCellWidth * (column + 0.5),
                          VtPainter::RowTop(row) + VtPainter::kCellHeight * 0.5);
    QTest::mouseClick(view, Qt::LeftButton, {}, view->ToWidget(logical).toPoint());
}

TEST_F(VideotextDlgTest, ClickOnAThreeDigitNumberAtAScaledSizeJumpsThere) {
    PageBuilder page;
    page.Put(5, 10, "Seite 205").Put(7, 4, "42 und 1234").Put(9, 0, "901");
    Arrive(Datagram(100, 0, page.chars));
    dlg.resize(1300, 1000);
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    CVtPageView* view = dlg.PageView();
    ASSERT_GT(view->width(), 700);  // really scaled up
    ClickCell(view, 7, 4);          // "42"
    ClickCell(view, 7, 12);         // "1234"
    ClickCell(view, 9, 1);          // "901"
    EXPECT_EQ(dlg.CurrentPage(), 100);
    ClickCell(view, 5, 17);  // the "0" of 205
    EXPECT_EQ(dlg.CurrentPage(), 205);
    EXPECT_EQ(dlg.PageField()->text(), QStringLiteral("205"));
    EXPECT_EQ(dlg.StatusText()->text(), T::Searching(205));
}

TEST_F(VideotextDlgTest, SecondWindowFindsTheSlotTaken) {
    CVideotextDlg second(cache, nullptr);
    QString text, caption;
    vtwin::AnswerBox(QStringLiteral("OK"), &text, &caption);
    EXPECT_FALSE(second.Open());
    EXPECT_EQ(text, T::SlotTaken);
    EXPECT_EQ(caption, T::Caption);
    dlg.reject();
    EXPECT_FALSE(CVideotextDlg::SlotTaken());
    EXPECT_TRUE(second.Open());
    second.reject();
}

TEST_F(VideotextDlgTest, EscapeEndsTheWindowAndFreesTheSlot) {
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    QTest::keyClick(&dlg, Qt::Key_Escape);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_FALSE(CVideotextDlg::SlotTaken());
}

class VideotextExportTest : public VideotextDlgTest {
  protected:
    void SetUp() override {
        VideotextDlgTest::SetUp();
        ASSERT_TRUE(folder.isValid());
        VtExportFolder::SetFolder(folder.path());
        Arrive(Datagram(100, 0, "EXPORTSEITE"));
        file = folder.filePath(QStringLiteral("Unbekannt/VT100-00.html"));
    }
    void TearDown() override {
        QSettings().remove(VtExportFolder::kSettingKey);
        VideotextDlgTest::TearDown();
    }
    QByteArray Contents() const {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QTemporaryDir folder;
    QString file;
};

TEST_F(VideotextExportTest, WritesTheFileBelowTheSourceFolder) {
    dlg.ExportButton()->click();
    const QByteArray html = Contents();
    EXPECT_TRUE(html.startsWith("<!doctype html public"));
    EXPECT_TRUE(html.contains("EXPORTSEITE"));
    EXPECT_TRUE(html.endsWith("</b></tt></body></html>"));
    EXPECT_TRUE(dlg.StatusText()->text().startsWith(QStringLiteral("Exportiert: ")));
}

TEST_F(VideotextExportTest, AsksBeforeOverwritingAnExistingFile) {
    dlg.ExportButton()->click();
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("mine");
    }
    QString question;
    vtwin::AnswerBox(T::No, &question);
    dlg.ExportButton()->click();
    EXPECT_TRUE(question.contains(QStringLiteral("Überschreiben?")));
    EXPECT_EQ(Contents(), QByteArray("mine"));
    question.clear();
    vtwin::AnswerBox(T::Yes, &question);
    dlg.ExportButton()->click();
    EXPECT_FALSE(question.isEmpty());
    EXPECT_TRUE(Contents().startsWith("<!doctype"));
}

TEST_F(VideotextExportTest, UnwritableFolderGivesTheErrorBox) {
    const QString blocker = folder.filePath(QStringLiteral("eine-datei"));
    {
        QFile f(blocker);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    VtExportFolder::SetFolder(blocker);  // a file where the folder should be
    QString text, caption;
    vtwin::AnswerBox(QStringLiteral("OK"), &text, &caption);
    dlg.ExportButton()->click();
    EXPECT_EQ(text, T::ExportFailed);
    EXPECT_EQ(caption, T::Caption);
}

TEST(VideotextExportFolder, DefaultsToVideotextInTheDocuments) {
    QSettings().remove(VtExportFolder::kSettingKey);
    EXPECT_TRUE(VtExportFolder::Folder().endsWith(QStringLiteral("/Videotext")));
    EXPECT_EQ(VtExportFolder::FileFor(QStringLiteral("/x/y/"), 150, 2),
              QStringLiteral("/x/y/Unbekannt/VT150-02.html"));
}

}  // namespace
