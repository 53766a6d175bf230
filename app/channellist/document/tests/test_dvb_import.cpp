// "DVB-Senderliste importieren...": prompts, the written list and the offer to open it.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <deque>

#include "ScriptedPrompts.h"
#include "channellist/document/CDvbImportCommand.h"
#include "channellist/document/CSVL_EditorDoc.h"
#include "channellist/document/IImportPrompts.h"

namespace {
class ScriptedImport : public IImportPrompts {
  public:
    QString source, target;
    bool openIt = false;
    QStringList titles, errors, questions;

    QString AskImportFile(const QString& title, const QString&) override {
        titles << title;
        return source;
    }
    QString AskImportTarget(const QString& title, const QString&) override {
        titles << title;
        return target;
    }
    void ShowImportError(const QString& caption, const QString& text) override {
        errors << caption + ": " + text;
    }
    bool AskImportYesNo(const QString& caption, const QString& text) override {
        questions << caption + ": " + text;
        return openIt;
    }
};

/// One 64-byte record: "DVSO", frequency in MHz at 8 (0 = provider record), name at 32.
QByteArray Record(quint16 mhz, const char* name) {
    QByteArray r(64, '\0');
    r.replace(0, 4, "DVSO");
    r[8] = char(mhz >> 8);
    r[9] = char(mhz & 0xFF);
    r.replace(32, int(qstrlen(name)), name);
    return r;
}

class DvbImport : public ::testing::Test {
  protected:
    void SetUp() override { QSettings().clear(); }
    void TearDown() override { QSettings().clear(); }
    QString WriteDvb(const QByteArray& bytes) {
        QFile f(dir.filePath("liste.dvb"));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    }
    QStringList FilesInDir() const { return QDir(dir.path()).entryList(QDir::Files); }

    QTemporaryDir dir;
    ScriptedPrompts docPrompts;
    CSVL_EditorDoc doc{docPrompts};
    ScriptedImport prompts;
};
}  // namespace

TEST_F(DvbImport, WritesTheListAndOpensItOnYes) {
    prompts.source =
        WriteDvb(Record(0, "ARD") + Record(11902, "Das Erste") + Record(12109, "EinsFestival"));
    prompts.target = dir.filePath("importiert");  // no extension: ".svl" is added
    prompts.openIt = true;
    EXPECT_EQ(CDvbImportCommand(prompts, doc).Run(), CDvbImportCommand::Result::Opened);
    EXPECT_EQ(prompts.titles,
              (QStringList{"DVB-Senderliste importieren", "SVL-Senderliste speichern unter"}));
    EXPECT_EQ(
        prompts.questions,
        QStringList{
            "DVB-Senderlisten Import: Wollen Sie die importierte Senderliste gleich öffnen?"});
    EXPECT_EQ(doc.PathName(), dir.filePath("importiert.svl"));
    ASSERT_EQ(doc.ProgramCount(), 2);
    EXPECT_EQ(doc.List().Programs[0]->Frequency, 11902000);
    EXPECT_EQ(doc.List().Programs[1]->Provider, "ARD");
    EXPECT_EQ(doc.List().Lnbs.Entries().size(), 4u);
}

TEST_F(DvbImport, NoKeepsTheCurrentDocument) {
    prompts.source = WriteDvb(Record(11902, "Das Erste"));
    prompts.target = dir.filePath("neu.SVL");
    EXPECT_EQ(CDvbImportCommand(prompts, doc).Run(), CDvbImportCommand::Result::Written);
    EXPECT_TRUE(QFile::exists(dir.filePath("neu.SVL")));
    EXPECT_TRUE(doc.PathName().isEmpty());
    EXPECT_EQ(doc.ProgramCount(), 0);
}

TEST_F(DvbImport, BrokenDvbIsDroppedSilently) {
    const QByteArray cases[] = {Record(11902, "A").left(63),
                                Record(11902, "A").replace(0, 4, "XXXX")};
    for (const QByteArray& bytes : cases) {
        prompts.source = WriteDvb(bytes);
        prompts.target = dir.filePath("x.svl");
        EXPECT_EQ(CDvbImportCommand(prompts, doc).Run(), CDvbImportCommand::Result::NotImportable);
    }
    EXPECT_TRUE(prompts.errors.isEmpty());
    EXPECT_EQ(FilesInDir(), QStringList{"liste.dvb"});  // nothing written, no save prompt
    EXPECT_EQ(prompts.titles.count("SVL-Senderliste speichern unter"), 0);
}

TEST_F(DvbImport, CancelAtEitherPromptWritesNothing) {
    EXPECT_EQ(CDvbImportCommand(prompts, doc).Run(), CDvbImportCommand::Result::Cancelled);
    prompts.source = WriteDvb(Record(11902, "A"));
    EXPECT_EQ(CDvbImportCommand(prompts, doc).Run(), CDvbImportCommand::Result::Cancelled);
    EXPECT_EQ(FilesInDir(), QStringList{"liste.dvb"});
    EXPECT_TRUE(prompts.questions.isEmpty());
}

TEST_F(DvbImport, FailuresAreReportedWithTheImportCaption) {
    prompts.source = dir.filePath("fehlt.dvb");
    EXPECT_EQ(CDvbImportCommand(prompts, doc).Run(), CDvbImportCommand::Result::ReadFailed);

    prompts.source = WriteDvb(Record(11902, "A"));
    ASSERT_TRUE(QDir(dir.path()).mkdir("ordner.svl"));
    prompts.target = dir.filePath("ordner.svl");  // a folder: the list cannot be created there
    EXPECT_EQ(CDvbImportCommand(prompts, doc).Run(), CDvbImportCommand::Result::WriteFailed);
    ASSERT_EQ(prompts.errors.size(), 2);
    EXPECT_TRUE(prompts.errors[0].startsWith("DVB-Senderlisten Import: "));
    EXPECT_EQ(prompts.errors[1],
              "DVB-Senderlisten Import: SVL-Senderliste konnte nicht erstellt werden!");
    EXPECT_TRUE(prompts.questions.isEmpty());
}
