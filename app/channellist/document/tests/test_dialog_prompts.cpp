// The real file dialogs behind the document's and the import's prompts: the
// title, the filter, what a name typed without an extension becomes, and
// whether existing files only are offered.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QTimer>
#include <functional>

#include "channellist/document/CDialogPrompts.h"

namespace {

struct SeenDialog {
    QString title;
    QString suffix;
    QStringList filters;
    QFileDialog::FileMode fileMode = QFileDialog::AnyFile;
    QFileDialog::AcceptMode acceptMode = QFileDialog::AcceptOpen;
    bool seen = false;
};

/// Runs `prompt`, notes the file dialog it opens and cancels it.
SeenDialog Inspect(const std::function<QString()>& prompt) {
    SeenDialog seen;
    QTimer::singleShot(0, [&seen] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            if (!dialog || !dialog->isVisible()) continue;
            seen = {dialog->windowTitle(), dialog->defaultSuffix(), dialog->nameFilters(),
                    dialog->fileMode(),    dialog->acceptMode(),    true};
            dialog->reject();
        }
    });
    EXPECT_TRUE(prompt().isEmpty()) << "a cancelled prompt gives no path";
    return seen;
}

const QString kDvbFilter = QStringLiteral("DVB Senderliste (*.dvb)|*.dvb|Alle Dateien (*.*)|*.*||");
const QString kSvlFilter = QStringLiteral("SVL Senderliste (*.svl)|*.svl|Alle Dateien (*.*)|*.*||");

TEST(DialogPrompts, ImportOpenPromptAddsDvbToANameWithoutExtension) {
    CDialogPrompts prompts;
    const SeenDialog d =
        Inspect([&] { return prompts.AskImportFile("DVB-Senderliste importieren", kDvbFilter); });
    ASSERT_TRUE(d.seen);
    EXPECT_EQ(d.title, "DVB-Senderliste importieren");
    EXPECT_EQ(d.suffix, "dvb");
    EXPECT_EQ(d.acceptMode, QFileDialog::AcceptOpen);
    EXPECT_EQ(d.fileMode, QFileDialog::ExistingFile);
    EXPECT_EQ(d.filters, QStringList({"DVB Senderliste (*.dvb)", "Alle Dateien (*.*)"}));
}

TEST(DialogPrompts, ImportTargetAndSaveAsPromptsAddSvl) {
    CDialogPrompts prompts;
    const SeenDialog target = Inspect(
        [&] { return prompts.AskImportTarget("SVL-Senderliste speichern unter", kSvlFilter); });
    ASSERT_TRUE(target.seen);
    EXPECT_EQ(target.suffix, "svl");
    EXPECT_EQ(target.acceptMode, QFileDialog::AcceptSave);

    const SeenDialog saveAs =
        Inspect([&] { return prompts.AskSaveFile("Speichern unter", kSvlFilter, "Liste.svl"); });
    ASSERT_TRUE(saveAs.seen);
    EXPECT_EQ(saveAs.suffix, "svl");
    EXPECT_EQ(saveAs.acceptMode, QFileDialog::AcceptSave);
}

TEST(DialogPrompts, DocumentOpenPromptOffersExistingFilesWithoutASuffix) {
    CDialogPrompts prompts;
    const SeenDialog d = Inspect([&] { return prompts.AskOpenFile("Öffnen", kSvlFilter); });
    ASSERT_TRUE(d.seen);
    EXPECT_EQ(d.fileMode, QFileDialog::ExistingFile);
    EXPECT_TRUE(d.suffix.isEmpty());
}

}  // namespace
