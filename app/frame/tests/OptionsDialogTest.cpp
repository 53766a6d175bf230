// "Optionen" and the about box, alone and on the frame's commands.
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTimer>

#include "FrameFixture.h"
#include "common/CommandIds.h"
#include "frame/CAboutDialog.h"
#include "frame/COptionsDialog.h"
#include "frame/view/CSVL_EditorView.h"

namespace {
CAppOptions SomeOptions() {
    CAppOptions options;
    options.pidHex = 1;
    options.lowLevel = 0;
    options.fadeOutDisabled = 1;
    options.guideHourOffset = -5;
    return options;
}

/// Runs `step` on the modal dialog once it is open (the command's exec() waits).
void WhenModalOpens(std::function<void(QWidget*)> step) {
    QTimer::singleShot(0, [step] { step(QApplication::activeModalWidget()); });
}
}  // namespace

TEST(OptionsDialog, OpensWithTheValuesInMemory) {
    CAppOptions options = SomeOptions();
    COptionsDialog dialog(options);
    EXPECT_EQ(dialog.windowTitle(), "Optionen");
    EXPECT_TRUE(dialog.PidHex()->isChecked());
    EXPECT_FALSE(dialog.PidDecimal()->isChecked());
    EXPECT_TRUE(dialog.FadeOutOff()->isChecked());
    EXPECT_TRUE(dialog.HighLevel()->isChecked());
    EXPECT_FALSE(dialog.LowLevel()->isChecked());
    EXPECT_EQ(dialog.OffsetEdit()->text(), "-5");
}

TEST(OptionsDialog, SpinButtonsStopAtTwelve) {
    CAppOptions options;
    COptionsDialog dialog(options);
    dialog.OffsetEdit()->setText("11");
    dialog.OffsetSpin()->stepBy(1);
    dialog.OffsetSpin()->stepBy(1);
    EXPECT_EQ(dialog.OffsetEdit()->text(), "12");
    dialog.OffsetEdit()->setText("-10");
    dialog.OffsetSpin()->stepBy(-5);
    EXPECT_EQ(dialog.OffsetEdit()->text(), "-12");
}

TEST(OptionsDialog, OkRefusesAnOffsetOutsideTheRangeAndStaysOpen) {
    CAppOptions options;
    COptionsDialog dialog(options);
    QStringList messages;
    dialog.SetRefusalMessage([&](const QString& text) { messages << text; });
    dialog.show();
    dialog.PidHex()->setChecked(true);
    for (const char* typed : {"13", "-13", "1.5", "", "zwei"}) {
        dialog.OffsetEdit()->setText(typed);
        dialog.accept();
        EXPECT_TRUE(dialog.isVisible()) << typed;
    }
    EXPECT_EQ(messages.size(), 5);
    EXPECT_EQ(messages.value(0), "Bitte geben Sie eine ganze Zahl zwischen -12 und 12 ein.");
    EXPECT_EQ(options.pidHex, 0);  // nothing stored while refused

    dialog.OffsetEdit()->setText(" -12");
    dialog.LowLevel()->setChecked(false);
    dialog.HighLevel()->setChecked(true);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(options.pidHex, 1);
    EXPECT_EQ(options.lowLevel, 0);
    EXPECT_EQ(options.fadeOutDisabled, 0);
    EXPECT_EQ(options.guideHourOffset, -12);
}

using FrameDialogs = FrameFixture;

TEST_F(FrameDialogs, OptionsCommandIsOffWhileOpenAndOkReachesTheView) {
    QAction* command = frame->Action(Cmd::Options);
    QSignalSpy changed(frame.get(), &CMainFrame::optionsChanged);
    bool disabledWhileOpen = false;
    WhenModalOpens([&](QWidget* modal) {
        auto* dialog = qobject_cast<COptionsDialog*>(modal);
        if (!dialog) {
            ADD_FAILURE() << "no options dialog";
            if (modal) modal->close();
            return;
        }
        disabledWhileOpen = !command->isEnabled();
        dialog->PidHex()->setChecked(true);
        dialog->accept();
    });
    command->trigger();
    EXPECT_TRUE(disabledWhileOpen);
    EXPECT_TRUE(command->isEnabled());
    EXPECT_EQ(frame->Options().pidHex, 1);
    EXPECT_TRUE(qobject_cast<CSVL_EditorView*>(frame->View())->pidHexDisplay());
    EXPECT_EQ(changed.count(), 1);

    WhenModalOpens([](QWidget* modal) {
        if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
    });
    command->trigger();
    EXPECT_EQ(changed.count(), 1);  // cancelled: nothing changed
}

TEST_F(FrameDialogs, AboutBoxAsksForTheSystemInformation) {
    int asked = 0;
    bool fromAboutBox = false;
    QObject::connect(frame.get(), &CMainFrame::systemInfoRequested, [&](QWidget* parent) {
        ++asked;
        fromAboutBox = qobject_cast<CAboutDialog*>(parent) != nullptr;
    });
    QString title;
    WhenModalOpens([&](QWidget* modal) {
        if (!modal) return;
        title = modal->windowTitle();
        for (auto* button : modal->findChildren<QPushButton*>())
            if (button->text() == "Systeminfo") button->click();
        static_cast<QDialog*>(modal)->accept();
    });
    frame->Action(Cmd::AppAbout)->trigger();
    EXPECT_EQ(title, "Info über SVL_Editor");
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(fromAboutBox);
}
