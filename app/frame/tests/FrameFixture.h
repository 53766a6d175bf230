#pragma once
#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <memory>
#include <string>

#include "channellist/CSVLFile.h"
#include "channellist/document/CSVL_EditorDoc.h"
#include "common/CProgramState.h"
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

/// Writes a list of `programs` TV programs named "P0", "P1", ... as `name` in `dir`;
/// returns its path, empty when it cannot be written.
inline QString WriteList(const QTemporaryDir& dir, const QString& name, int programs) {
    CSVLFile list;
    for (int i = 0; i < programs; ++i) {
        list.Programs.push_back(std::make_unique<CProgramInfo>());
        list.Programs.back()->Name = "P" + std::to_string(i);
        list.Programs.back()->ProgramType = 1;
    }
    const auto bytes = list.Store();
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly)) return {};
    file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
    return file.fileName();
}

/// A main frame on a fresh settings store.
class FrameFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        QSettings().clear();
        doc = std::make_unique<CSVL_EditorDoc>(prompts);
        frame = std::make_unique<CMainFrame>(*doc, state);
    }
    void TearDown() override {
        frame.reset();
        doc.reset();
        QSettings().clear();
    }
    /// A second frame on the same store, as at the next start.
    std::unique_ptr<CMainFrame> NextRun() { return std::make_unique<CMainFrame>(*doc, state); }

    CProgramState state;
    SilentPrompts prompts;
    std::unique_ptr<CSVL_EditorDoc> doc;
    std::unique_ptr<CMainFrame> frame;
};
