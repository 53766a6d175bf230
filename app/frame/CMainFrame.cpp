#include "frame/CMainFrame.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include "channellist/document/CDialogPrompts.h"
#include "channellist/document/CDvbImportCommand.h"
#include "channellist/document/CSVL_EditorDoc.h"
#include "channellist/document/DocumentTexts.h"
#include "common/CProgramState.h"
#include "common/CommandIds.h"
#include "common/ICardLifecycle.h"
#include "common/PrivateMessages.h"
#include "frame/CAboutDialog.h"
#include "frame/CBarStateStore.h"
#include "frame/CDockingBar.h"
#include "frame/CFrameMenus.h"
#include "frame/CFrameStatusBar.h"
#include "frame/CIconFactory.h"
#include "frame/COptionsBar.h"
#include "frame/COptionsDialog.h"
#include "frame/CSVL_EditorApp.h"
#include "frame/FrameTexts.h"
#include "frame/view/CSVL_EditorView.h"

namespace {

// The frame's VCR commands in the order of their codes 1..11.
constexpr int kVcrCommands[] = {Cmd::VcrOpenPlayback,  Cmd::VcrClose,        Cmd::VcrPlay,
                                Cmd::VcrDoubleSpeed,   Cmd::VcrHalfSpeed,    Cmd::VcrPause,
                                Cmd::VcrStop,          Cmd::VcrNextTitle,    Cmd::VcrRecord,
                                Cmd::VcrPreviousTitle, Cmd::VcrOpenRecording};

struct BarDef {
    const char* title;
    const char* stateName;
    int barId;
    QSize size;
    Qt::DockWidgetArea area;
    int command;
};

// In the order the bars' states are saved and restored.
const BarDef Bars[] = {
    {"VCR-Steuerung", "VideoBar", BarId::VcrBar, {343, 90}, Qt::TopDockWidgetArea, Cmd::ViewVcrBar},
    {"Bild- und Tonsteuerung",
     "BildTonBar",
     BarId::PictureBar,
     {290, 73},
     Qt::BottomDockWidgetArea,
     Cmd::ViewPictureBar},
    {"Video", "TVBar", BarId::TvBar, {200, 100}, Qt::BottomDockWidgetArea, Cmd::ViewTvBar},
    {"MPEG-Decoder Status",
     "MPEGDecoderBar",
     BarId::DecoderBar,
     {124, 87},
     Qt::BottomDockWidgetArea,
     Cmd::ViewDecoderBar},
    {"Status",
     "ProgrammStatusBar",
     BarId::ProgramStatusBar,
     {515, 43},
     Qt::BottomDockWidgetArea,
     Cmd::ViewProgramStatusBar},
};

}  // namespace

CMainFrame::CMainFrame(CSVL_EditorDoc& doc, CProgramState& state, ICardLifecycle* card,
                       QWidget* parent)
    : QMainWindow(parent),
      doc_(doc),
      state_(state),
      card_(card),
      ownImportPrompts_(std::make_unique<CDialogPrompts>()),
      importPrompts_(ownImportPrompts_.get()) {
    ownImportPrompts_->SetParent(this);
    setObjectName(FrameTexts::ClassName);
    setWindowIcon(CIconFactory::Icon(CIconFactory::Kind::App));
    state_.SetTimeZoneOffsetHours(CProgramState::LocalTimeZoneOffsetHours());
    state_.SetTunedProgramIndex(-1);
    {
        QSettings settings;
        options_.Load(settings);
    }
    if (card_) {
        card_->StartUp(this);  // every card step reports its own failure
        frontendKindText = card_->FrontendKindText();
    }

    menus_ = new CFrameMenus(*this);
    status_ = new CFrameStatusBar(this);
    setStatusBar(status_);
    CreateToolBar();
    optionsBar_ = new COptionsBar(this);
    addToolBar(Qt::TopToolBarArea, optionsBar_);
    CreateDockingBars();
    CreateView();
    ConnectCommands();
    ConnectDocument();

    camTimer_.setInterval(TimerId::CamTimePeriodMs);
    connect(&camTimer_, &QTimer::timeout, this, [this] {
        if (card_ && !cardDown_) card_->OnFrameTimer();
    });
    camTimer_.start();

    barStates_ = std::make_unique<CBarStateStore>(*this, bars_);
    {
        QSettings settings;
        barStates_->LoadBarStates(settings);
    }
    PrivateMessages::RegisterWindow(MessageWindow::Frame, this);
    PrivateMessages::Register(Msg::CamSlotStatus, this);
    setAcceptDrops(true);
    UpdateTitle();
    UpdateCommandStates();
}

CMainFrame::~CMainFrame() {
    camTimer_.stop();
    TearDownCard();
}

void CMainFrame::CreateToolBar() {
    toolBar_ = addToolBar(FrameTexts::ToolBarTitle);
    toolBar_->setObjectName(FrameTexts::ToolBarTitle);
    toolBar_->setProperty("barId", BarId::ToolBar);
    using K = CIconFactory::Kind;
    const std::pair<int, K> buttons[] = {{Cmd::FileNew, K::New},     {Cmd::FileOpen, K::Open},
                                         {Cmd::FileSave, K::Save},   {0, K::New},
                                         {Cmd::EditCut, K::Cut},     {Cmd::EditCopy, K::Copy},
                                         {Cmd::EditPaste, K::Paste}, {0, K::New},
                                         {Cmd::FilePrint, K::Print}};
    for (const auto& [id, icon] : buttons) {
        if (id == 0) {
            toolBar_->addSeparator();
            continue;
        }
        QAction* action = menus_->Action(id);
        action->setIcon(CIconFactory::Icon(icon));
        toolBar_->addAction(action);
    }
    // "Öffnen" drops down the recent-file list.
    if (auto* open =
            qobject_cast<QToolButton*>(toolBar_->widgetForAction(menus_->Action(Cmd::FileOpen)))) {
        open->setMenu(menus_->RecentMenu());
        open->setPopupMode(QToolButton::MenuButtonPopup);
    }
}

void CMainFrame::CreateDockingBars() {
    setDockOptions(AnimatedDocks | AllowNestedDocks | AllowTabbedDocks);
    for (const BarDef& def : Bars) {
        auto* bar = new CDockingBar(QString::fromUtf8(def.title),
                                    QString::fromLatin1(def.stateName), def.barId, def.size, this);
        addDockWidget(def.area, bar);
        bars_ << bar;
        ConnectBarCommand(def.command, bar);
    }
}

CDockingBar* CMainFrame::DockingBar(int barId) const {
    for (CDockingBar* bar : bars_)
        if (bar->BarId() == barId) return bar;
    return nullptr;
}

QAction* CMainFrame::Action(int commandId) const { return menus_->Action(commandId); }

void CMainFrame::ConnectBarCommand(int commandId, QWidget* bar) {
    menus_->Enable(commandId, [this, bar] {
        bar->setVisible(bar->isHidden());
        UpdateCommandStates();
    });
}

void CMainFrame::UpdateCommandStates() {
    for (const BarDef& def : Bars)
        if (CDockingBar* bar = DockingBar(def.barId))
            Action(def.command)->setChecked(!bar->isHidden());
    Action(Cmd::ViewToolBar)->setChecked(!toolBar_->isHidden());
    Action(Cmd::ViewOptionsBar)->setChecked(!optionsBar_->isHidden());
    Action(Cmd::ViewStatusBar)->setChecked(!status_->isHidden());
    Action(Cmd::FileSendMail)->setEnabled(!doc_.PathName().isEmpty() || doc_.ProgramCount() > 0);
}

void CMainFrame::CreateView() {
    auto* view = new CSVL_EditorView(this);
    view->setObjectName(QStringLiteral("CSVL_EditorView"));
    view->setPidHexDisplay(options_.pidHex != 0);
    view->setDocumentList(&doc_.List());
    setCentralWidget(view);
    view_ = view;
    connect(view, &CSVL_EditorView::programCountText, this,
            [this](const QString& text) { status_->SetPaneText(PaneId::ProgramCount, text); });
    connect(view, &CSVL_EditorView::programFilterShown, optionsBar_,
            &COptionsBar::SetProgramFilter);
    connect(optionsBar_, &COptionsBar::quickFilterChanged, view, &CSVL_EditorView::setQuickFilter);
    connect(&doc_, &CSVL_EditorDoc::documentChanged, view, &CSVL_EditorView::OnUpdate);
    QAction* category =
        menus_->Enable(Cmd::CategoryMode, [view](bool on) { view->setCategoryMode(on); });
    category->setChecked(view->categoryMode());
    QAction* editMode =
        menus_->Enable(Cmd::ListEditMode, [view](bool on) { view->setEditMode(on); });
    editMode->setChecked(view->editMode());
}

void CMainFrame::ConnectCommands() {
    menus_->Enable(Cmd::FileNew, [this] { doc_.OnFileNew(); });
    menus_->Enable(Cmd::FileOpen, [this] { doc_.OnFileOpen(); });
    menus_->Enable(Cmd::FileSave, [this] { doc_.OnFileSave(); });
    menus_->Enable(Cmd::FileSaveAs, [this] { doc_.OnFileSaveAs(); });
    menus_->Enable(Cmd::FileSendMail, [this] { OnFileSendMail(); });
    menus_->Enable(Cmd::FileImport, [this] { CDvbImportCommand(*importPrompts_, doc_).Run(); });
    menus_->Enable(Cmd::AppExit, [this] { close(); });
    menus_->Enable(Cmd::Options, [this] { OnOptions(); });
    menus_->Enable(Cmd::AppAbout, [this] { OnAppAbout(); });
    connect(menus_, &CFrameMenus::recentFileChosen, this,
            [this](int i) { doc_.OnOpenRecentFile(i); });
    ConnectBarCommand(Cmd::ViewToolBar, toolBar_);
    ConnectBarCommand(Cmd::ViewOptionsBar, optionsBar_);
    ConnectBarCommand(Cmd::ViewStatusBar, status_);
    if (QMenu* view = menus_->Menu(QStringLiteral("&Ansicht")))
        connect(view, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandStates);

    // The VCR commands go to the VCR bar as command codes 1..11 once it is
    // there; only stop chooses the first playlist entry, the others leave the
    // playlist where it is.
    for (int i = 0; i < int(std::size(kVcrCommands)); ++i) {
        QAction* action = Action(kVcrCommands[i]);
        const int code = i + 1;
        const qintptr index = code == int(VcrCommand::Stop) ? 0 : qintptr(kKeepPlaylistIndex);
        connect(action, &QAction::triggered, this, [code, index] {
            PrivateMessages::PostTo(MessageWindow::VcrBar, Msg::VcrCommand, code, index);
        });
    }
    if (QMenu* menu = menus_->Menu(QStringLiteral("&Videorekorder")))
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateVcrCommands);
    UpdateVcrCommands();
}

void CMainFrame::UpdateVcrCommands() {
    const bool present = PrivateMessages::Window(MessageWindow::VcrBar) != nullptr;
    for (int i = 0; i < int(std::size(kVcrCommands)); ++i)
        Action(kVcrCommands[i])->setEnabled(present && vcrState_.CommandEnabled(VcrCommand(i + 1)));
}

void CMainFrame::ConnectDocument() {
    connect(&doc_, &CSVL_EditorDoc::titleChanged, this, &CMainFrame::UpdateTitle);
    connect(&doc_, &CSVL_EditorDoc::modifiedChanged, this, &CMainFrame::UpdateTitle);
    connect(&doc_, &CSVL_EditorDoc::recentFilesChanged, this,
            [this] { menus_->SetRecentFiles(doc_.RecentFiles().Entries()); });
    connect(&doc_, &CSVL_EditorDoc::documentChanged, this, &CMainFrame::UpdateCommandStates);
    menus_->SetRecentFiles(doc_.RecentFiles().Entries());
    QSettings settings;
    optionsBar_->SetProgramFilter(
        settings.value(QStringLiteral("Einstellungen/Programmfilter"), 0).toInt());
}

void CMainFrame::UpdateTitle() {
    setWindowTitle(doc_.Title() + QStringLiteral("[*] - ") + DocumentTexts::AppTitle);
    setWindowModified(doc_.IsModified());
}

bool CMainFrame::event(QEvent* e) {
    if (PrivateMessageEvent::IsPrivate(e)) {
        const auto* message = static_cast<PrivateMessageEvent*>(e);
        if (message->number() == Msg::CamSlotStatus) {
            OnCamSlotStatus(int(message->wParam()), int(message->lParam()));
            return true;
        }
    }
    return QMainWindow::event(e);
}

void CMainFrame::OnCamSlotStatus(int slot, int status) {
    if (slot == 1)
        status_->SetPaneText(PaneId::CaSlot1, CFrameStatusBar::SlotStatusText(1, status));
    if (slot == 2)
        status_->SetPaneText(PaneId::CaSlot2, CFrameStatusBar::SlotStatusText(2, status));
}

void CMainFrame::SaveFrameState() {
    QSettings settings;
    barStates_->SaveBarStates(settings);
    barStates_->SavePlacement(settings);
    barStates_->SaveLayout(settings);
    options_.Save(settings);
}

void CMainFrame::closeEvent(QCloseEvent* e) {
    if (!doc_.SaveModified()) {
        e->ignore();
        return;
    }
    SaveFrameState();
    if (auto* view = qobject_cast<CSVL_EditorView*>(view_.data())) view->saveLayout();
    camTimer_.stop();
    TearDownCard();
    e->accept();
}

void CMainFrame::TearDownCard() noexcept {
    if (!card_ || cardDown_) return;
    cardDown_ = true;
    card_->TearDown();
}

void CMainFrame::RestorePlacement() {
    QSettings settings;
    if (!barStates_->LoadPlacement(settings)) resize(1000, 700);
}

void CMainFrame::BringToFront() {
    if (isMinimized()) showNormal();
    show();
    raise();
    activateWindow();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* e) {
    for (const QUrl& url : e->mimeData()->urls())
        if (url.isLocalFile()) {
            e->acceptProposedAction();
            return;
        }
}

void CMainFrame::dropEvent(QDropEvent* e) {
    for (const QUrl& url : e->mimeData()->urls()) {
        if (!url.isLocalFile()) continue;
        e->acceptProposedAction();
        BringToFront();
        doc_.OpenDocumentFile(url.toLocalFile());
        return;  // one document at a time: the first file wins
    }
}

QString CMainFrame::WriteMailCopy() {
    // The copy stays until the program ends: the mail program reads it after we return.
    if (!mailDir_) mailDir_ = std::make_unique<QTemporaryDir>();
    if (!mailDir_->isValid()) {
        QMessageBox::warning(
            this, DocumentTexts::AppTitle,
            QStringLiteral("Die Kopie für die Nachricht konnte nicht angelegt werden."));
        return {};
    }
    const QString path = mailDir_->filePath(QFileInfo(doc_.ProposedSaveName()).fileName());
    return doc_.SaveCopy(path) ? path : QString();
}

void CMainFrame::OnOptions() {
    QAction* command = Action(Cmd::Options);
    command->setEnabled(false);  // one options dialog at a time
    COptionsDialog dialog(options_, this);
    const bool ok = dialog.exec() == QDialog::Accepted;
    command->setEnabled(true);
    if (!ok) return;
    if (auto* view = qobject_cast<CSVL_EditorView*>(view_.data()))
        view->setPidHexDisplay(options_.pidHex != 0);
    emit optionsChanged();
}

void CMainFrame::OnAppAbout() {
    CAboutDialog about(CSVL_EditorApp::VersionText(), this);
    connect(&about, &CAboutDialog::systemInfoRequested, this,
            [this, &about] { emit systemInfoRequested(&about); });
    about.exec();
}

void CMainFrame::OnFileSendMail() {
    // The mail carries the list as it is now, unsaved changes included, as a copy: the
    // user's own file is neither saved over nor needed.
    const QString copy = WriteMailCopy();
    if (copy.isEmpty()) return;
    if (!mailLauncher_) {
        mailLauncher_ = [](const QString& path) {
            const QString tool = QStandardPaths::findExecutable(QStringLiteral("xdg-email"));
            return !tool.isEmpty() &&
                   QProcess::startDetached(tool, {QStringLiteral("--attach"), path});
        };
    }
    if (!mailLauncher_(copy))
        QMessageBox::warning(
            this, DocumentTexts::AppTitle,
            QStringLiteral("Das Mailprogramm (xdg-email) konnte nicht gestartet werden."));
}
