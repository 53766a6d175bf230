// Open, save, save as and the question before changes are dropped.
#include <sys/resource.h>

#include <QDir>
#include <QSignalSpy>
#include <csignal>

#include "DocFixture.h"
#include "channellist/document/DocumentTexts.h"

using DocumentFiles = DocFixture;

TEST_F(DocumentFiles, NewDocumentIsUntitledAndKeepsTheList) {
    ASSERT_TRUE(doc->OpenDocumentFile(WriteListFile("a.svl", {"A", "B"})));
    doc->OnNewDocument();
    EXPECT_EQ(doc->Title(), QStringLiteral("Untitled"));
    EXPECT_TRUE(doc->PathName().isEmpty());
    EXPECT_EQ(doc->ProgramCount(), 2);
}

TEST_F(DocumentFiles, NeuShowsTheOpenPromptAndNeverEmptiesTheList) {
    ASSERT_TRUE(doc->OpenDocumentFile(WriteListFile("a.svl", {"A", "B"})));
    EXPECT_FALSE(doc->OnFileNew());  // prompt cancelled
    EXPECT_EQ(prompts.openTitles, QStringList{DocumentTexts::OpenTitle});
    EXPECT_EQ(doc->ProgramCount(), 2);
    EXPECT_EQ(doc->Title(), QStringLiteral("a.svl"));
}

TEST_F(DocumentFiles, FormatErrorLeavesAnUntitledEmptyDocument) {
    ASSERT_TRUE(doc->OpenDocumentFile(WriteListFile("a.svl", {"A", "B"})));
    const auto good = MakeList({"X", "Y", "Z"}).Store();
    // A valid list cut short in the middle of its records.
    const QString cut = WriteRawFile(
        "cut.svl",
        QByteArray(reinterpret_cast<const char*>(good.data()), qsizetype(good.size() / 2)));
    QSignalSpy changed(doc.get(), &CSVL_EditorDoc::documentChanged);

    EXPECT_FALSE(doc->OpenDocumentFile(cut));
    EXPECT_EQ(prompts.errors.size(), 1);
    EXPECT_EQ(doc->ProgramCount(), 0);
    EXPECT_EQ(doc->Title(), QStringLiteral("Untitled"));
    EXPECT_TRUE(doc->PathName().isEmpty());
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(changed.count(), 1);  // the view must drop its rows
}

TEST_F(DocumentFiles, FileThatCannotBeOpenedLeavesTheDocumentAsItWas) {
    const QString path = WriteListFile("a.svl", {"A", "B"});
    ASSERT_TRUE(doc->OpenDocumentFile(path));
    doc->SetModifiedFlag();
    prompts.changesAnswers.push_back(SaveChangesAnswer::No);

    EXPECT_FALSE(doc->OpenDocumentFile(PathOf("nothing-here.svl")));
    EXPECT_EQ(prompts.errors.size(), 1);
    EXPECT_EQ(doc->ProgramCount(), 2);
    EXPECT_EQ(doc->PathName(), path);
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(DocumentFiles, SavedListOpensWithTheSameProgramsInOrder) {
    ASSERT_TRUE(doc->OpenDocumentFile(WriteListFile("a.svl", {"C", "A", "B"})));
    doc->List().Programs.pop_back();
    doc->SetModifiedFlag();
    ASSERT_TRUE(doc->OnFileSave());
    EXPECT_FALSE(doc->IsModified());

    ScriptedPrompts otherPrompts;
    CSVL_EditorDoc other(otherPrompts);
    ASSERT_TRUE(other.OpenDocumentFile(PathOf("a.svl")));
    EXPECT_EQ(NamesOf(other.List()), (std::vector<std::string>{"C", "A"}));
}

TEST_F(DocumentFiles, UntitledDocumentProposesUntitledDotSvl) {
    doc->List() = MakeList({"A"});
    doc->SetModifiedFlag();
    EXPECT_FALSE(doc->OnFileSave());  // no path: save as, prompt cancelled
    EXPECT_EQ(prompts.saveTitles,
              QStringList{QStringLiteral("SVL-Programmlistei speichern unter...")});
    EXPECT_EQ(prompts.proposedNames, QStringList{QStringLiteral("Untitled.svl")});
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(DocumentFiles, SaveAsProposesThePathAndTakesTheNewName) {
    const QString path = WriteListFile("a.svl", {"A"});
    ASSERT_TRUE(doc->OpenDocumentFile(path));
    const QString copy = PathOf("b.svl");
    prompts.saveAnswers.push_back(copy);
    ASSERT_TRUE(doc->OnFileSaveAs());
    EXPECT_EQ(prompts.proposedNames, QStringList{path});
    EXPECT_EQ(doc->PathName(), copy);
    EXPECT_EQ(doc->Title(), QStringLiteral("b.svl"));
    EXPECT_EQ(doc->RecentFiles().Entries().first(), copy);
}

TEST_F(DocumentFiles, FailedSaveAsKeepsStateAndLeavesNoFileBehind) {
    const QString path = WriteListFile("a.svl", {"A"});
    ASSERT_TRUE(doc->OpenDocumentFile(path));
    doc->SetModifiedFlag();
    // The chosen name is a folder, so the file cannot be put there.
    const QString target = PathOf("sub");
    ASSERT_TRUE(QDir().mkpath(target));
    prompts.saveAnswers.push_back(target);

    EXPECT_FALSE(doc->OnFileSaveAs());
    EXPECT_EQ(prompts.errors.size(), 1);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->PathName(), path);
    EXPECT_TRUE(QFileInfo(target).isDir());
    const QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(left, QStringList{QStringLiteral("a.svl")});
}

/// Limits the size of files this process may write, so that writing fails midway.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        ok_ = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, previous_);
    }
    bool ok() const { return ok_; }

  private:
    rlimit old_{};
    void (*previous_)(int) = nullptr;
    bool ok_ = false;
};

TEST_F(DocumentFiles, FailedSaveKeepsTheOldFileIntact) {
    const QString path = WriteListFile("a.svl", {"A"});
    const QByteArray before = ReadAll(path);
    ASSERT_TRUE(doc->OpenDocumentFile(path));
    for (int i = 0; i < 200; ++i)
        doc->List().Programs.push_back(std::make_unique<CProgramInfo>(
            *MakeList({"Ein recht langer Programmname"}).Programs[0]));
    doc->SetModifiedFlag();
    {
        FileSizeLimit limit(rlim_t(before.size()) + 64);
        ASSERT_TRUE(limit.ok());
        EXPECT_FALSE(doc->OnFileSave());
    }
    EXPECT_EQ(ReadAll(path), before);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(prompts.errors.size(), 1);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"a.svl"});
}

TEST_F(DocumentFiles, UnmodifiedDocumentIsReplacedWithoutQuestion) {
    ASSERT_TRUE(doc->OpenDocumentFile(WriteListFile("a.svl", {"A"})));
    ASSERT_TRUE(doc->OpenDocumentFile(WriteListFile("b.svl", {"B"})));
    EXPECT_TRUE(prompts.questions.isEmpty());
}

TEST_F(DocumentFiles, CancelOnTheQuestionKeepsTheChanges) {
    const QString a = WriteListFile("a.svl", {"A"});
    ASSERT_TRUE(doc->OpenDocumentFile(a));
    doc->SetModifiedFlag();
    prompts.changesAnswers.push_back(SaveChangesAnswer::Cancel);
    EXPECT_FALSE(doc->OpenDocumentFile(WriteListFile("b.svl", {"B"})));
    ASSERT_EQ(prompts.questions.size(), 1);
    EXPECT_TRUE(prompts.questions.first().contains(a));
    EXPECT_EQ(NamesOf(doc->List()), std::vector<std::string>{"A"});
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(DocumentFiles, YesOnTheQuestionSavesBeforeOpening) {
    const QString a = WriteListFile("a.svl", {"A"});
    ASSERT_TRUE(doc->OpenDocumentFile(a));
    doc->List().Programs.push_back(std::make_unique<CProgramInfo>());
    doc->List().Programs.back()->Name = "Neu";
    doc->SetModifiedFlag();
    prompts.changesAnswers.push_back(SaveChangesAnswer::Yes);
    ASSERT_TRUE(doc->OpenDocumentFile(WriteListFile("b.svl", {"B"})));

    ScriptedPrompts otherPrompts;
    CSVL_EditorDoc other(otherPrompts);
    ASSERT_TRUE(other.OpenDocumentFile(a));
    EXPECT_EQ(NamesOf(other.List()), (std::vector<std::string>{"A", "Neu"}));
}

TEST_F(DocumentFiles, YesOnUntitledAsksForANameAndCancelStopsTheOpen) {
    doc->List() = MakeList({"A"});
    doc->SetModifiedFlag();
    prompts.changesAnswers.push_back(SaveChangesAnswer::Yes);
    EXPECT_FALSE(doc->OpenDocumentFile(WriteListFile("b.svl", {"B"})));
    EXPECT_TRUE(prompts.questions.first().contains(QStringLiteral("Untitled")));
    EXPECT_EQ(prompts.saveTitles.size(), 1);
    EXPECT_EQ(NamesOf(doc->List()), std::vector<std::string>{"A"});
}

TEST_F(DocumentFiles, RecentEntryOfAVanishedFileIsDropped) {
    const QString a = WriteListFile("a.svl", {"A"});
    const QString b = WriteListFile("b.svl", {"B"});
    ASSERT_TRUE(doc->OpenDocumentFile(a));
    ASSERT_TRUE(doc->OpenDocumentFile(b));
    ASSERT_TRUE(QFile::remove(a));
    EXPECT_FALSE(doc->OnOpenRecentFile(1));
    EXPECT_EQ(doc->RecentFiles().Entries(), QStringList{b});
    EXPECT_EQ(NamesOf(doc->List()), std::vector<std::string>{"B"});
}
