// Which list the program starts with, and when it does not start at all.
#include <QSignalSpy>

#include "DocFixture.h"
#include "channellist/document/DocumentTexts.h"

using Startup = DocFixture;

TEST_F(Startup, CommandLineFileIsOpenedWithoutPrompt) {
    const QString path = WriteListFile("a.svl", {"Das Erste", "ZDF"});
    SetFile1(WriteListFile("older.svl", {"Other"}));

    ASSERT_TRUE(doc->OpenAtStartup(path));
    EXPECT_TRUE(prompts.openTitles.isEmpty());
    EXPECT_EQ(NamesOf(doc->List()), (std::vector<std::string>{"Das Erste", "ZDF"}));
    EXPECT_EQ(doc->PathName(), path);
    EXPECT_EQ(doc->Title(), QStringLiteral("a.svl"));
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(QSettings().value("Recent File List/File1").toString(), path);
}

TEST_F(Startup, LastUsedFileComesBack) {
    const QString path = WriteListFile("last.svl", {"3sat"});
    SetFile1(path);
    ASSERT_TRUE(doc->OpenAtStartup(QString()));
    EXPECT_TRUE(prompts.openTitles.isEmpty());
    EXPECT_EQ(NamesOf(doc->List()), std::vector<std::string>{"3sat"});
}

struct NoUsableLastFile {
    const char* name;
    bool setFile1;
    const char* file1;  // relative to the temp folder unless it is the marker
};

class StartupPrompt : public DocFixture, public ::testing::WithParamInterface<NoUsableLastFile> {
  protected:
    void PrepareFile1() {
        const auto& c = GetParam();
        if (!c.setFile1) return;
        const QString v = QString::fromUtf8(c.file1);
        SetFile1(v == CRecentFileList::None ? v : PathOf(v));
    }
};

TEST_P(StartupPrompt, CancelOfOpenPromptEndsTheProgram) {
    PrepareFile1();
    EXPECT_FALSE(doc->OpenAtStartup(QString()));
    ASSERT_EQ(prompts.openTitles.size(), 1);
    EXPECT_EQ(prompts.openTitles.first(), DocumentTexts::OpenTitle);
    EXPECT_EQ(prompts.openFilters.first(),
              QStringLiteral("SVL-Programmlisten (.svl)|*.svl|Alle Dateien (*.*)|*.*|"));
}

TEST_P(StartupPrompt, FileChosenInPromptIsOpened) {
    PrepareFile1();
    prompts.openAnswers.push_back(WriteListFile("chosen.svl", {"arte", "Phoenix"}));
    ASSERT_TRUE(doc->OpenAtStartup(QString()));
    EXPECT_EQ(NamesOf(doc->List()), (std::vector<std::string>{"arte", "Phoenix"}));
    EXPECT_EQ(doc->Title(), QStringLiteral("chosen.svl"));
}

INSTANTIATE_TEST_SUITE_P(Cases, StartupPrompt,
                         ::testing::Values(NoUsableLastFile{"NoEntry", false, ""},
                                           NoUsableLastFile{"NoneMarker", true, "<<NONE>>"},
                                           NoUsableLastFile{"DeletedFile", true, "gone.svl"},
                                           NoUsableLastFile{"EmptyEntry", true, ""}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Startup, DamagedCommandLineFileEndsTheProgramAfterTheMessage) {
    const QString path = WriteRawFile("bad.svl", QByteArray("\x01\x00\xff\xff\x01\x00", 6));
    EXPECT_FALSE(doc->OpenAtStartup(path));
    EXPECT_EQ(prompts.errors.size(), 1);
    EXPECT_TRUE(prompts.openTitles.isEmpty());
}

TEST_F(Startup, MissingCommandLineFileEndsTheProgramAfterTheMessage) {
    EXPECT_FALSE(doc->OpenAtStartup(PathOf("missing.svl")));
    EXPECT_EQ(prompts.errors.size(), 1);
}

TEST_F(Startup, DamagedLastFileFallsBackToTheOpenPrompt) {
    SetFile1(WriteRawFile("broken.svl", QByteArray("garbage that is no list")));
    prompts.openAnswers.push_back(WriteListFile("good.svl", {"KiKA"}));
    ASSERT_TRUE(doc->OpenAtStartup(QString()));
    EXPECT_EQ(prompts.errors.size(), 1);
    EXPECT_EQ(prompts.openTitles.size(), 1);
    EXPECT_EQ(NamesOf(doc->List()), std::vector<std::string>{"KiKA"});
}
