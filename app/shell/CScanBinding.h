#pragma once
// The channel scan on the frame: "Sendersuchlauf..." opens the dialog with
// the open list's LNBs (or the cable, on a cable card), runs the scan on the
// card through CDeviceScanCard in the progress window, merges what it found
// into the list as one undoable step "Sendersuchlauf" (a program with the
// same original network, transport stream and service id is updated in
// place, the others are appended), shows the summary and tunes the program
// that was tuned before again (the scan moved the card to other
// transponders). Refused with a message without a list, without a card,
// without an LNB and while a recording runs. Lives as a child of the frame.
#include <QMessageBox>
#include <QObject>
#include <functional>

#include "scan/windows/ScanChoices.h"

class CListEditor;
class CMainFrame;
class CScanDialog;
class CScanProgressDialog;
class CTvBinding;
class IDeviceSet;

class CScanBinding : public QObject {
    Q_OBJECT
  public:
    /// How the windows run; the defaults show them modally (tests replace them).
    struct Runners {
        /// Runs the choice dialog; true for "Starten".
        std::function<bool(CScanDialog&)> choose;
        /// Runs the progress window until the scan ends or is cancelled.
        std::function<void(CScanProgressDialog&)> progress;
        /// Shows a message box with `icon`.
        std::function<void(QMessageBox::Icon icon, const QString& text)> message;
    };

    /// `card` may be null (the program runs without a card): the command
    /// then says so.
    CScanBinding(CMainFrame& frame, CListEditor& editor, CTvBinding* tv, IDeviceSet* card);

    void SetRunners(Runners runners) { runners_ = std::move(runners); }
    /// The settings of the scans to come (time-outs; tests shorten them).
    void SetTimings(const ScanSettings& timings) { timings_ = timings; }
    /// Runs the command as its menu entry does.
    void Run();

  private:
    bool Refused(QString& why, bool& satellite, bool& cable) const;
    ScanChoice FirstChoice(const ScanChoices::Context& context) const;
    /// Merges `found` into the list as one step; the summary to show.
    QString Merge(const std::vector<CProgramInfo>& found, bool cancelled, int locked);

    CMainFrame& frame_;
    CListEditor& editor_;
    CTvBinding* tv_;
    IDeviceSet* card_;
    Runners runners_;
    ScanSettings timings_;
    ScanChoice lastChoice_;
};

CScanBinding* AttachScan(CMainFrame& frame, CListEditor& editor, CTvBinding* tv, IDeviceSet* card);
