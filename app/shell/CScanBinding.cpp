#include "shell/CScanBinding.h"

#include <QAction>

#include "channellist/CSVLFile.h"
#include "channellist/editing/CListEditor.h"
#include "common/CProgramState.h"
#include "common/CommandIds.h"
#include "common/RecPlayState.h"
#include "frame/CMainFrame.h"
#include "frame/view/CSVL_EditorView.h"
#include "receiver/CDeviceScanCard.h"
#include "receiver/IDeviceSet.h"
#include "scan/CScanRun.h"
#include "scan/ScanMerge.h"
#include "scan/windows/CScanDialog.h"
#include "scan/windows/CScanProgressDialog.h"
#include "scan/windows/ScanWindowTexts.h"
#include "shell/CTvBinding.h"
#include "tv/CProgramNavigator.h"
#include "tv/CProgramSwitcher.h"

namespace {

CSVLFile* ListOf(const CMainFrame& frame) {
    const auto* view = qobject_cast<CSVL_EditorView*>(frame.View());
    return view ? view->documentList() : nullptr;
}

// Front-end chip types 1 and 2 are satellite tuners; the others tune by
// frequency alone, as the cable channel table gives it.
bool SatelliteCard(IDeviceSet& card) {
    int type = 1;
    if (!card.GetFrontendType(type).Ok()) return true;
    return type == 1 || type == 2;
}

CScanBinding::Runners DefaultRunners(QWidget* owner) {
    CScanBinding::Runners runners;
    runners.choose = [](CScanDialog& dialog) { return dialog.exec() == QDialog::Accepted; };
    runners.progress = [](CScanProgressDialog& dialog) { dialog.exec(); };
    runners.message = [owner](QMessageBox::Icon icon, const QString& text) {
        QMessageBox box(icon, ScanWindowTexts::Caption, text, QMessageBox::Ok, owner);
        box.exec();
    };
    return runners;
}

}  // namespace

CScanBinding::CScanBinding(CMainFrame& frame, CListEditor& editor, CTvBinding* tv, IDeviceSet* card)
    : QObject(&frame),
      frame_(frame),
      editor_(editor),
      tv_(tv),
      card_(card),
      runners_(DefaultRunners(&frame)) {
    QAction* action = frame.Action(Cmd::ChannelScan);
    action->setEnabled(true);
    connect(action, &QAction::triggered, this, &CScanBinding::Run);
}

bool CScanBinding::Refused(QString& why, bool& satellite, bool& cable) const {
    const CSVLFile* list = ListOf(frame_);
    if (!list)
        why = ScanWindowTexts::NoList;
    else if (!card_)
        why = ScanWindowTexts::NoCard;
    else if (frame_.VcrState().Recording())
        why = ScanWindowTexts::RecordingRuns;
    if (!why.isEmpty()) return true;
    satellite = SatelliteCard(*card_);
    cable = !satellite;
    if (satellite && list->Lnbs.Empty()) why = ScanWindowTexts::NoLnb;
    return !why.isEmpty();
}

// The choice of the last scan; before the first one the LNB of the tuned
// program, else that of the list's first program.
ScanChoice CScanBinding::FirstChoice(const ScanChoices::Context& context) const {
    ScanChoice choice = lastChoice_;
    if (!choice.lnbName.empty() || choice.cable) return choice;
    if (context.tuned)
        choice.lnbName = context.tuned->LnbName;
    else if (!context.list->Programs.empty())
        choice.lnbName = context.list->Programs.front()->LnbName;
    return choice;
}

void CScanBinding::Run() {
    QString why;
    bool satellite = false, cable = false;
    if (Refused(why, satellite, cable)) return runners_.message(QMessageBox::Warning, why);
    CSVLFile& list = *ListOf(frame_);
    const int tuned = frame_.State().TunedProgramIndex();

    ScanChoices::Context context;
    context.list = &list;
    context.tuned = tv_ ? tv_->TunedProgram() : nullptr;
    context.cableFrequencies = [this] { return card_->CableChannelFrequencies(0, 0xFFFFFFFF); };
    ScanJob job;
    CScanDialog dialog(list, satellite, cable, &frame_);
    dialog.SetChoice(FirstChoice(context));
    dialog.SetCheck([&](const ScanChoice& choice, QString& error) {
        return ScanChoices::MakeJob(choice, context, job, error);
    });
    if (!runners_.choose(dialog)) return;
    lastChoice_ = dialog.Choice();

    // A switch under way finishes first: the scan takes the card from here.
    if (tv_) tv_->Switcher().FinishNow();
    ScanSettings settings = timings_;
    settings.lnbName = job.settings.lnbName;
    settings.lnb = job.settings.lnb;
    settings.followNit = job.settings.followNit;
    CDeviceScanCard card(*card_);
    CScanRun run(card, settings, job.transponders);
    CScanProgressDialog progress(run, &frame_);
    runners_.progress(progress);

    const QString summary = Merge(run.Found(), run.Cancelled(), run.LockedCount());
    // The picture comes back while the summary is read.
    if (tv_ && tuned >= 0 && std::size_t(tuned) < list.Programs.size())
        tv_->Navigator().TuneRequested(tuned);
    runners_.message(QMessageBox::Information, summary);
}

QString CScanBinding::Merge(const std::vector<CProgramInfo>& found, bool cancelled, int locked) {
    const ScanMerge::Result plan = ScanMerge::Plan(*ListOf(frame_), found);
    std::vector<CListEditor::ProgramUpdate> updates;
    for (const ScanMerge::Update& u : plan.updated) updates.push_back({u.index, u.after});
    ProgramListOps::ProgramList added;
    for (const CProgramInfo& p : plan.added) added.push_back(std::make_unique<CProgramInfo>(p));
    editor_.UpdateAndAppend(std::move(updates), std::move(added), ScanWindowTexts::Caption);

    QString text = ScanWindowTexts::Summary(int(found.size()), int(plan.added.size()),
                                            int(plan.updated.size()));
    if (locked == 0 && !cancelled) text = ScanWindowTexts::NoneLocked + QLatin1Char('\n') + text;
    if (cancelled) text = ScanWindowTexts::CancelledNote + QLatin1Char('\n') + text;
    return text;
}

CScanBinding* AttachScan(CMainFrame& frame, CListEditor& editor, CTvBinding* tv, IDeviceSet* card) {
    return new CScanBinding(frame, editor, tv, card);
}
