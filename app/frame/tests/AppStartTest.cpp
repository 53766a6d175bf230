// The whole start of the program with a file on the command line, and a
// second start handing its file to the first.
#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "FrameFixture.h"
#include "frame/CSVL_EditorApp.h"

TEST(AppStart, CommandLineFileOpensAndASecondStartHandsItsFileOver) {
    QSettings().clear();
    QTemporaryDir dir;
    const QString first = WriteList(dir, "erste.svl", 2);
    const QString second = WriteList(dir, "zweite.svl", 4);

    CSVL_EditorApp app;
    int programsSeenByExtension = -1;
    app.AddFrameExtension(
        [&](CMainFrame&, CSVL_EditorDoc& doc) { programsSeenByExtension = doc.ProgramCount(); });
    ASSERT_TRUE(app.InitInstance({"SVL_Editor", first}));
    EXPECT_EQ(programsSeenByExtension, 0);  // extensions join before the first document
    EXPECT_TRUE(app.Frame()->isVisible());
    EXPECT_EQ(app.Document()->PathName(), first);
    EXPECT_EQ(app.Document()->ProgramCount(), 2);

    CSVL_EditorApp later;
    QSignalSpy opened(app.Document(), &CSVL_EditorDoc::documentChanged);
    EXPECT_FALSE(later.InitInstance({"SVL_Editor", second}));
    EXPECT_EQ(later.Frame(), nullptr);  // no second window
    ASSERT_TRUE(opened.wait(3000));
    EXPECT_EQ(app.Document()->PathName(), second);
    EXPECT_EQ(app.Document()->ProgramCount(), 4);
    QSettings().clear();
}
