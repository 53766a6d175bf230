#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "TestHost.h"
#include "channellist/editing/CListPrintController.h"
#include "channellist/editing/EditTexts.h"
#include "channellist/editing/ListPrintTable.h"

namespace {
int PdfPages(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return -1;
    const QByteArray pdf = f.readAll();
    // Page objects are "/Type /Page" not followed by "s" (the page tree is "/Pages").
    int pages = 0;
    for (qsizetype at = pdf.indexOf("/Type /Page"); at >= 0;
         at = pdf.indexOf("/Type /Page", at + 1)) {
        if (pdf.mid(at + 11, 1) != "s") ++pages;
    }
    return pages;
}

// Text of the PDF, page by page (form feed between pages), through pdftotext.
QString PdfText(const QString& path) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!p.waitForFinished(20000) || p.exitCode() != 0) return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

class PrintTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        std::vector<std::string> names;
        for (int i = 0; i < 150; ++i) names.push_back("Programm " + std::to_string(i + 1));
        host.AddPrograms(names);
    }
    QString Pdf() { return dir.filePath(QStringLiteral("list.pdf")); }
    QTemporaryDir dir;
    TestHost host;
    RecordingSink sink;
    CListPrintController controller{host, sink, nullptr};
};
}  // namespace

TEST_F(PrintTest, EveryPageHasTheHeaderAndItsNumberOfAll) {
    const int pages = controller.PrintToPdf(Pdf());
    ASSERT_GE(pages, 2) << "150 rows do not fit one page";
    EXPECT_EQ(PdfPages(Pdf()), pages);
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed: page texts not checked";
    const QStringList pageTexts = PdfText(Pdf()).split(QChar('\f'), Qt::SkipEmptyParts);
    ASSERT_EQ(pageTexts.size(), pages);
    for (int i = 0; i < pages; ++i) {
        EXPECT_TRUE(pageTexts[i].contains(QStringLiteral("SVL-Programmliste"))) << "page " << i + 1;
        EXPECT_TRUE(pageTexts[i].contains(QStringLiteral("Programm")));
        EXPECT_TRUE(pageTexts[i].contains(QStringLiteral("Seite %1 von %2").arg(i + 1).arg(pages)));
    }
    // Every row is printed once, the first on page 1 and the last on the last page.
    EXPECT_TRUE(pageTexts.first().contains(QStringLiteral("Programm 1 ")));
    EXPECT_TRUE(pageTexts.last().contains(QStringLiteral("Programm 150")));
    EXPECT_EQ(PdfText(Pdf()).count(QStringLiteral("Programm 150")), 1);
}

TEST_F(PrintTest, MarginsAreFifteenTenTenTen) {
    const QMarginsF m = controller.Printer().pageLayout().margins(QPageLayout::Millimeter);
    EXPECT_NEAR(m.left(), 15, 0.1);
    EXPECT_NEAR(m.top(), 10, 0.1);
    EXPECT_NEAR(m.right(), 10, 0.1);
    EXPECT_NEAR(m.bottom(), 10, 0.1);
}

TEST_F(PrintTest, AnEmptyListPrintsOnePage) {
    host.list.Programs.clear();
    EXPECT_EQ(controller.PrintToPdf(Pdf()), 1);
    EXPECT_EQ(PdfPages(Pdf()), 1);
}

TEST_F(PrintTest, CategoryModeIsRefusedWhenPreparing) {
    host.categoryMode = true;
    EXPECT_EQ(controller.PrintToPdf(Pdf()), 0);
    EXPECT_FALSE(QFile::exists(Pdf()));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text,
              QStringLiteral("Exception: Drucken nur möglich wenn nicht in Kategoriemodus!"));
    EXPECT_EQ(sink.messages[0].icon, IMessageSink::Icon::Error);
}

TEST_F(PrintTest, CategoryModeSwitchedOnAfterPreparingIsRefusedWhilePrinting) {
    ASSERT_TRUE(controller.Prepare());
    host.categoryMode = true;
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(Pdf());
    EXPECT_EQ(controller.Render(printer), 0);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text,
              QStringLiteral("Exception: Drucken nur wenn nicht in Kategoriemodus!"));
    EXPECT_EQ(sink.messages[0].icon, IMessageSink::Icon::Error);
}

// The table takes the shown columns as given and asks the list's text provider for every
// cell of every row that still has a program.
TEST(ListPrintTableTest, CellsComeFromTheProviderInShownOrder) {
    CSVLFile list;
    list.Programs.push_back(MakeProgram("Name \xE4", 3));
    list.Programs.push_back(nullptr);
    const std::vector<ListPrintColumn> columns = {
        {2, QStringLiteral("Programm"), 200, Qt::AlignLeft},
        {1, QStringLiteral("Nr"), 50, Qt::AlignLeft}};
    const auto table = BuildListPrintTable(list, {0, 1, 7}, columns,
                                           [](const CProgramInfo& p, std::size_t index, int id) {
                                               return QStringLiteral("%1/%2/%3")
                                                   .arg(QString::fromStdString(p.Name).size())
                                                   .arg(index)
                                                   .arg(id);
                                           });
    ASSERT_EQ(table.columns.size(), 2u);
    EXPECT_EQ(table.columns[1].title, QStringLiteral("Nr"));
    ASSERT_EQ(table.rows.size(), 1u);  // a null program and a stale index are left out
    EXPECT_EQ(table.rows[0], (QStringList{QStringLiteral("6/0/2"), QStringLiteral("6/0/1")}));
}
