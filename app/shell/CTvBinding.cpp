#include "shell/CTvBinding.h"

#include <QComboBox>
#include <QMessageBox>

#include "channellist/CSVLFile.h"
#include "channellist/document/CSVL_EditorDoc.h"
#include "common/CProgramState.h"
#include "frame/CIconFactory.h"
#include "frame/CMainFrame.h"
#include "frame/COptionsBar.h"
#include "frame/view/CSVL_EditorView.h"
#include "receiver/IDeviceSet.h"
#include "tv/CProgramNavigator.h"
#include "tv/CProgramSwitcher.h"
#include "tv/CRemoteKeySocket.h"
#include "tv/IProgramListHost.h"
#include "tv/TvTexts.h"

namespace {

CSVL_EditorView* ViewOf(const CMainFrame& frame) {
    return qobject_cast<CSVL_EditorView*>(frame.View());
}

// Message boxes of a switch stay in front of the video window.
bool Ask(QWidget* owner, const QString& question) {
    QMessageBox box(QMessageBox::Question, TvTexts::SwitchCaption, question,
                    QMessageBox::Yes | QMessageBox::No, owner);
    box.setDefaultButton(QMessageBox::No);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    return box.exec() == QMessageBox::Yes;
}

void ShowSiFilterFailure(QWidget* owner) {
    QMessageBox box(QMessageBox::Critical, TvTexts::ErrorCaption, TvTexts::SiFilterFailed,
                    QMessageBox::Ok, owner);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.exec();
}

}  // namespace

// The list view as the TV part sees it.
class CTvBinding::Host : public IProgramListHost {
  public:
    explicit Host(CMainFrame& frame) : frame_(frame) {}
    const CSVLFile* List() const override {
        const CSVL_EditorView* view = ViewOf(frame_);
        return view ? view->documentList() : nullptr;
    }
    int ProgramFilter() const override {
        const CSVL_EditorView* view = ViewOf(frame_);
        return view ? view->programFilter() : 0;
    }
    void SetProgramFilter(int filter) override {
        if (CSVL_EditorView* view = ViewOf(frame_)) view->setProgramFilter(filter);
    }
    void RememberProgram(int index) override {
        if (CSVL_EditorView* view = ViewOf(frame_)) view->rememberProgram(index);
    }

  private:
    CMainFrame& frame_;
};

CTvBinding::CTvBinding(CMainFrame& frame, CSVL_EditorDoc&, IDeviceSet& card)
    : QObject(&frame), frame_(frame), card_(card), host_(std::make_unique<Host>(frame)) {
    CProgramState& state = frame.State();
    switcher_ = new CProgramSwitcher(card, state, this);
    navigator_ = new CProgramNavigator(*host_, *switcher_, card, state, this);
    remoteKeys_ = new CRemoteKeySocket(card, this);

    // A running recording or playback is ended by the switch, after asking.
    const RecPlayState& vcr = frame.VcrState();
    switcher_->SetHooks({[&vcr] { return vcr.mode; },
                         [&frame](const QString& q) { return Ask(&frame, q); },
                         [&frame] { ShowSiFilterFailure(&frame); }});
    connect(switcher_, &CProgramSwitcher::audioChoicesChanged, this, &CTvBinding::ShowAudioChoices);
    connect(navigator_, &CProgramNavigator::audioChoiceRequested, this,
            &CTvBinding::SelectAudioPid);
    connect(frame.OptionsBar(), &COptionsBar::audioPidChosen, this, [this, &state](int pid) {
        card_.SetAudioPID(static_cast<std::uint16_t>(pid));
        state.SetCurrentAudioPid(static_cast<std::uint16_t>(pid));
    });

    if (CSVL_EditorView* view = ViewOf(frame)) {
        view->installEventFilter(navigator_);
        connect(view, &CSVL_EditorView::switchToProgramRequested, navigator_,
                &CProgramNavigator::TuneRequested);
        connect(view, &CSVL_EditorView::listRefilling, switcher_, &CProgramSwitcher::StopReception);
    }
    remoteKeys_->SetContext(
        {[&vcr] { return vcr.mode; }, [&vcr] { return vcr.playlistTitlePlaying; },
         [this] { return guideShown_ && guideShown_(); }, [&state] { return state.FullScreen(); },
         [this] { ToggleMinimised(); }});
    remoteKeys_->Open();
}

CTvBinding::~CTvBinding() = default;

const CProgramInfo* CTvBinding::ProgramAt(int index) const {
    const CSVLFile* list = host_->List();
    if (!list || index < 0 || std::size_t(index) >= list->Programs.size()) return nullptr;
    return list->Programs[std::size_t(index)].get();
}

const CProgramInfo* CTvBinding::TunedProgram() const {
    return ProgramAt(frame_.State().TunedProgramIndex());
}

void CTvBinding::ShowAudioChoices(const AudioChoices& choices) {
    QComboBox* box = frame_.OptionsBar()->LanguageBox();
    const QSignalBlocker quiet(box);  // filling is not a choice of the user
    box->clear();
    const QIcon icon = CIconFactory::Icon(CIconFactory::Kind::Audio);
    for (const AudioChoice& choice : choices.items)
        box->addItem(icon, choice.text, int(choice.pid));
    box->setCurrentIndex(choices.selected);
}

void CTvBinding::SelectAudioPid(int pid) {
    QComboBox* box = frame_.OptionsBar()->LanguageBox();
    const int index = box->findData(pid);
    if (index >= 0) box->setCurrentIndex(index);
}

void CTvBinding::ToggleMinimised() {
    if (frame_.isMinimized())
        frame_.showNormal();
    else
        frame_.showMinimized();
}
