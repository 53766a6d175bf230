#pragma once
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <memory>

#include "common/RecPlayState.h"
#include "frame/CAppOptions.h"

class CSVL_EditorDoc;
class CBarStateStore;
class CDockingBar;
class CFrameMenus;
class CFrameStatusBar;
class COptionsBar;
class CProgramState;
class ICardLifecycle;
class IImportPrompts;
class CDialogPrompts;
class QToolBar;

/// The main window: menus, tool bar "Werkzeugleiste", dialog bar "Optionen",
/// status bar with the program's four panes, the five docking bars, and the
/// program list view in the middle. It shows the one document and saves its
/// bars, placement and options when it closes.
class CMainFrame : public QMainWindow {
    Q_OBJECT
  public:
    /// `card` may be null: then the program is a plain list editor.
    CMainFrame(CSVL_EditorDoc& doc, CProgramState& state, ICardLifecycle* card = nullptr,
               QWidget* parent = nullptr);
    ~CMainFrame() override;

    QAction* Action(int commandId) const;
    CFrameMenus* Menus() const { return menus_; }
    CFrameStatusBar* StatusPanes() const { return status_; }
    COptionsBar* OptionsBar() const { return optionsBar_; }
    QToolBar* ToolBar() const { return toolBar_; }
    CDockingBar* DockingBar(int barId) const;
    /// In the order their states are saved: VCR, picture/sound, TV, decoder, program status.
    const QList<CDockingBar*>& DockingBars() const { return bars_; }
    QWidget* View() const { return view_; }

    /// The program-wide values (tuned program, full screen, ...), owned by the application.
    CProgramState& State() const { return state_; }
    /// The VCR state the whole program shares; the VCR bar writes it.
    RecPlayState& VcrState() { return vcrState_; }
    /// Enables the VCR commands by the VCR state (the bar calls it after
    /// every change).
    void UpdateVcrCommands();
    CAppOptions& Options() { return options_; }
    const CAppOptions& Options() const { return options_; }
    /// Text of the front-end kind, filled when the card is brought up.
    QString frontendKindText = QStringLiteral("None");

    /// Restores the stored placement (after the first document is open).
    void RestorePlacement();
    /// Restored from minimised, raised and activated: another start asked for us.
    void BringToFront();
    /// Sets check marks and availability of the bar commands.
    void UpdateCommandStates();
    /// Bars, placement, layout and options into the settings store.
    void SaveFrameState();
    /// Replaces the dialogs of the .dvb import (tests).
    void SetImportPrompts(IImportPrompts* prompts) { importPrompts_ = prompts; }
    /// Replaces the way a file is handed to the mail program (tests).
    void SetMailLauncher(std::function<bool(const QString&)> launcher) {
        mailLauncher_ = std::move(launcher);
    }

  signals:
    /// OK in "Optionen": the options in memory have changed.
    void optionsChanged();
    /// "Systeminfo" in the about box; `parent` is the open about box.
    void systemInfoRequested(QWidget* parent);

  protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;

  private:
    void CreateToolBar();
    void CreateDockingBars();
    void CreateView();
    void ConnectCommands();
    void ConnectBarCommand(int commandId, QWidget* bar);
    void ConnectDocument();
    void UpdateTitle();
    void OnCamSlotStatus(int slot, int status);
    void OnFileSendMail();
    void OnOptions();
    void OnAppAbout();
    QString WriteMailCopy();
    void TearDownCard() noexcept;

    CSVL_EditorDoc& doc_;
    CProgramState& state_;
    RecPlayState vcrState_;
    ICardLifecycle* card_;
    CAppOptions options_;
    CFrameMenus* menus_ = nullptr;
    CFrameStatusBar* status_ = nullptr;
    COptionsBar* optionsBar_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QList<CDockingBar*> bars_;
    QPointer<QWidget> view_;
    std::unique_ptr<CBarStateStore> barStates_;
    QTimer camTimer_;
    std::function<bool(const QString&)> mailLauncher_;
    std::unique_ptr<QTemporaryDir> mailDir_;  // the copies sent by mail
    std::unique_ptr<CDialogPrompts> ownImportPrompts_;
    IImportPrompts* importPrompts_ = nullptr;
    bool cardDown_ = false;
};
