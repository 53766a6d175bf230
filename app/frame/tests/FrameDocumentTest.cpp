// The frame together with the document: dropped files, mail, the view's commands.
#include <QCoreApplication>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>

#include "FrameFixture.h"
#include "common/CommandIds.h"
#include "frame/CFrameStatusBar.h"
#include "frame/view/CSVL_EditorView.h"

using FrameDocument = FrameFixture;

TEST_F(FrameDocument, DroppedFileIsOpenedAndCounted) {
    QTemporaryDir dir;
    const QString path = WriteList(dir, "drop.svl", 3);
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(path), QUrl::fromLocalFile(dir.filePath("second.svl"))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(frame.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(frame.get(), &drop);
    EXPECT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join(u'\n').toStdString();
    EXPECT_TRUE(drop.isAccepted());

    EXPECT_EQ(doc->PathName(), path);
    EXPECT_EQ(doc->ProgramCount(), 3);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("drop.svl[*] - SVL_Editor"));
    EXPECT_EQ(frame->StatusPanes()->PaneText(PaneId::ProgramCount),
              QStringLiteral("Anzahl Programme: 3"));
}

namespace {
QByteArray Contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
}  // namespace

TEST_F(FrameDocument, MailSendsACopyOfTheCurrentStateAndLeavesTheUsersFileAlone) {
    QStringList sent;
    QByteArray sentBytes;
    frame->SetMailLauncher([&](const QString& path) {
        sent << path;
        sentBytes = Contents(path);
        return true;
    });
    QTemporaryDir dir;
    const QString path = WriteList(dir, "mail.svl", 2);
    ASSERT_TRUE(doc->OpenDocumentFile(path));
    const QByteArray onDisk = Contents(path);
    doc->List().Programs.front()->Name = "Geaendert";
    doc->SetModifiedFlag();
    frame->UpdateCommandStates();
    ASSERT_TRUE(frame->Action(Cmd::FileSendMail)->isEnabled());
    frame->Action(Cmd::FileSendMail)->trigger();

    ASSERT_EQ(sent.size(), 1);
    EXPECT_NE(sent.front(), path);
    EXPECT_EQ(QFileInfo(sent.front()).fileName(), "mail.svl");
    const std::vector<std::uint8_t> now = doc->List().Store();
    EXPECT_EQ(sentBytes,
              QByteArray(reinterpret_cast<const char*>(now.data()), qsizetype(now.size())))
        << "the mail carries the unsaved change";
    EXPECT_EQ(Contents(path), onDisk) << "the user's file is not saved over";
    EXPECT_TRUE(doc->IsModified());
    EXPECT_TRUE(prompts.errors.isEmpty());
}

TEST_F(FrameDocument, MailOfAnUntitledListAsksForNoName) {
    QStringList sent;
    frame->SetMailLauncher([&](const QString& path) {
        sent << path;
        return QFileInfo(path).isFile();
    });
    doc->List().Programs.push_back(std::make_unique<CProgramInfo>());
    doc->List().Loaded = true;
    doc->SetModifiedFlag();
    frame->Action(Cmd::FileSendMail)->setEnabled(true);
    frame->Action(Cmd::FileSendMail)->trigger();
    ASSERT_EQ(sent.size(), 1);
    EXPECT_TRUE(sent.front().endsWith(".svl"));
    EXPECT_TRUE(doc->PathName().isEmpty()) << "still untitled";
    EXPECT_TRUE(doc->IsModified());
    EXPECT_TRUE(prompts.errors.isEmpty());
}

TEST_F(FrameDocument, CategoryAndEditModeCommandsDriveTheView) {
    auto* view = qobject_cast<CSVL_EditorView*>(frame->View());
    ASSERT_NE(view, nullptr);
    QAction* category = frame->Action(Cmd::CategoryMode);
    ASSERT_TRUE(category->isEnabled());
    EXPECT_EQ(category->isChecked(), view->categoryMode());
    const bool before = view->categoryMode();
    category->trigger();
    EXPECT_EQ(view->categoryMode(), !before);
    EXPECT_EQ(category->isChecked(), !before);

    QAction* edit = frame->Action(Cmd::ListEditMode);
    EXPECT_FALSE(view->editMode());
    edit->trigger();
    EXPECT_TRUE(view->editMode());
}

TEST_F(FrameDocument, ViewShowsTheOpenedListAndItsCount) {
    QTemporaryDir dir;
    ASSERT_TRUE(doc->OpenDocumentFile(WriteList(dir, "v.svl", 5)));
    auto* view = qobject_cast<CSVL_EditorView*>(frame->View());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->documentList(), &doc->List());
    EXPECT_EQ(frame->StatusPanes()->PaneText(PaneId::ProgramCount),
              QStringLiteral("Anzahl Programme: 5"));
}
