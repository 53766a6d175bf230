#pragma once
// The recording part on the frame: the VCR bar in the docking bar
// "VCR-Steuerung" on the two back ends (the card's file method and the
// network engine, chosen by the options), the playlist from PlayList.dat and
// its window on "Wiedergabeliste öffnen...", the frame's VCR commands enabled
// by the shared state, the program filter box locked while a file plays.
// Lives as a child of the frame; the playlist is written back when it goes.
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

#include "recording/windows/CPlayListWindow.h"
#include "recording/windows/CRecPlayBar.h"

class CMainFrame;
class CPlayListFile;
class CVcrCore;
class CVcrPrompts;
class IDeviceSet;
class IRecPlayBackEnd;
class IRecordingMessages;

class CVcrBinding : public QObject {
    Q_OBJECT
  public:
    CVcrBinding(CMainFrame& frame, IDeviceSet& devices);
    ~CVcrBinding() override;

    CRecPlayBar* Bar() const { return bar_.data(); }
    CVcrCore& Core() const { return *core_; }
    IRecPlayBackEnd& HighLevel() const { return *highLevel_; }
    IRecPlayBackEnd& LowLevel() const { return *lowLevel_; }
    /// Where a quick recording goes (the timer list); without it the bar
    /// records at once.
    void SetQuickRecording(std::function<bool(const QString& path, int format)> take) {
        quickRecording_ = std::move(take);
    }

  private:
    void OpenPlayListWindow();
    void SavePlayList();

    CMainFrame& frame_;
    std::unique_ptr<IRecordingMessages> messages_;
    std::unique_ptr<CPlayListFile> playlist_;
    std::unique_ptr<IRecPlayBackEnd> highLevel_, lowLevel_;
    std::unique_ptr<CVcrPrompts> prompts_;
    std::unique_ptr<CVcrCore> core_;
    QPointer<CRecPlayBar> bar_;  ///< owned by the docking bar
    QPointer<CPlayListWindow> playlistWindow_;
    std::function<bool(const QString& path, int format)> quickRecording_;
};

/// The program's way in: makes the binding on `frame` (owned by the frame).
CVcrBinding* AttachVcr(CMainFrame& frame, IDeviceSet& devices);
