#pragma once
// Puts the TV bars into the frame's docking bars: "Bild- und Tonsteuerung",
// "MPEG-Decoder Status" and "Status", on the card's device objects; keeps the
// program status bar's PID display in step with the frame's options; opens
// "Systeminformationen" when the about box asks for it.
#include <QObject>

class CDecoderStatusBar;
class CMainFrame;
class CPictureSoundBar;
class CProgramStatusBar;
class IDeviceSet;

class CTvBarsBinding : public QObject {
    Q_OBJECT
  public:
    /// `devices` may be null (no card): the bars are shown but make no calls.
    /// Lives as a child of the frame.
    CTvBarsBinding(CMainFrame& frame, IDeviceSet* devices);

    CPictureSoundBar* PictureSound() const { return pictureSound_; }
    CDecoderStatusBar* DecoderStatus() const { return decoderStatus_; }
    CProgramStatusBar* ProgramStatus() const { return programStatus_; }

  private:
    CMainFrame& frame_;
    IDeviceSet* devices_;
    CPictureSoundBar* pictureSound_;
    CDecoderStatusBar* decoderStatus_;
    CProgramStatusBar* programStatus_;
};

/// The program's way in: makes the binding on `frame` and returns it (owned by the frame).
CTvBarsBinding* AttachTvBars(CMainFrame& frame, IDeviceSet* devices);
