#pragma once
#include <QSettings>
#include <gtest/gtest.h>
#include <memory>

#include "channellist/document/CSVL_EditorDoc.h"
#include "frame/CMainFrame.h"

/// Document prompts that never show anything: cancel everything, note errors.
class SilentPrompts : public IDocumentPrompts {
public:
    QString AskOpenFile(const QString&, const QString&) override { return {}; }
    QString AskSaveFile(const QString&, const QString&, const QString&) override { return {}; }
    SaveChangesAnswer AskSaveChanges(const QString&) override { return answer; }
    void ShowError(const QString& text) override { errors << text; }

    SaveChangesAnswer answer = SaveChangesAnswer::No;
    QStringList errors;
};

/// A main frame on a fresh settings store.
class FrameFixture : public ::testing::Test {
protected:
    void SetUp() override {
        QSettings().clear();
        doc = std::make_unique<CSVL_EditorDoc>(prompts);
        frame = std::make_unique<CMainFrame>(*doc);
    }
    void TearDown() override {
        frame.reset();
        doc.reset();
        QSettings().clear();
    }
    /// A second frame on the same store, as at the next start.
    std::unique_ptr<CMainFrame> NextRun() { return std::make_unique<CMainFrame>(*doc); }

    SilentPrompts prompts;
    std::unique_ptr<CSVL_EditorDoc> doc;
    std::unique_ptr<CMainFrame> frame;
};
