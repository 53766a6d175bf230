#include "shell/CTvBarsBinding.h"

#include "common/CommandIds.h"
#include "frame/CDockingBar.h"
#include "frame/CMainFrame.h"
#include "tv/bars/CDecoderStatusBar.h"
#include "tv/bars/CPictureSoundBar.h"
#include "tv/bars/CProgramStatusBar.h"
#include "tv/bars/CSystemInfoDialog.h"

CTvBarsBinding::CTvBarsBinding(CMainFrame& frame, IDeviceSet* devices)
    : QObject(&frame),
      frame_(frame),
      devices_(devices),
      pictureSound_(new CPictureSoundBar(devices)),
      decoderStatus_(new CDecoderStatusBar(devices)),
      programStatus_(new CProgramStatusBar(devices)) {
    frame.DockingBar(BarId::PictureBar)->SetContent(pictureSound_);
    frame.DockingBar(BarId::DecoderBar)->SetContent(decoderStatus_);
    frame.DockingBar(BarId::ProgramStatusBar)->SetContent(programStatus_);

    programStatus_->SetPidHexDisplay(frame.Options().pidHex != 0);
    connect(&frame, &CMainFrame::optionsChanged, this,
            [this] { programStatus_->SetPidHexDisplay(frame_.Options().pidHex != 0); });
    connect(&frame, &CMainFrame::systemInfoRequested, this, [this](QWidget* parent) {
        CSystemInfoDialog dialog(devices_, parent ? parent : &frame_);
        dialog.exec();
    });
}

CTvBarsBinding* AttachTvBars(CMainFrame& frame, IDeviceSet* devices) {
    return new CTvBarsBinding(frame, devices);
}
