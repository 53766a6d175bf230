#include "tv/bars/CVolumeOsd.h"

#include <QVariant>

#include "common/CommandIds.h"
#include "receiver/IDeviceSet.h"
#include "tv/bars/BarRules.h"

namespace {
constexpr int MuteWidth = 100;
constexpr int VolumeWidth = 320;
constexpr int Height = 35;
constexpr int Left = 30, Top = 30;
// The volume bar inside the window: from x 170, y 5, 20 high, two pixels per step.
constexpr int BlockX = 170, BlockY = 5, BlockHeight = 20, BlockColour = 1;
constexpr int Palette = 2;
}  // namespace

CVolumeOsd::CVolumeOsd(IDeviceSet* devices, QObject* parent) : QObject(parent), devices_(devices) {
    removeTimer_.setSingleShot(true);
    removeTimer_.setInterval(TimerId::VolumeOsdMs);
    removeTimer_.setProperty("timerId", TimerId::VolumeOsd);
    connect(&removeTimer_, &QTimer::timeout, this, &CVolumeOsd::Remove);
}

CVolumeOsd::~CVolumeOsd() = default;

void CVolumeOsd::Show(int volume, bool mute) {
    if (!devices_) return;
    Remove();
    if (mute) {
        Open(MuteWidth, BarRules::OsdMuteText(), 0);  // stays until the next change
    } else {
        Open(VolumeWidth, BarRules::OsdVolumeText(volume), 2 * volume);
        removeTimer_.start();
    }
}

void CVolumeOsd::Open(int width, const std::string& text, int blockWidth) {
    IDeviceSet& d = *devices_;
    d.CreateOSDWindow(Window, 0, std::uint16_t(width), Height);
    d.MoveWindowAbs(Window, Left, Top);
    d.WriteText(Window, 0, 0, BarRules::OsdFieldChars, text);
    if (blockWidth > 0)
        d.DrawBlock(Window, BlockX, BlockY, std::uint16_t(blockWidth), BlockHeight, BlockColour);
    d.SetColor(Window, Palette, 0, 255, 0);
    d.SetColor(Window, Palette, 1, 64, 60288);
    d.SetBlend(Window, Palette, 0, 8);
    d.SetBlend(Window, Palette, 1, 15);
    d.SetColorBlend(Window);
    d.BringToTop(Window);
    shown_ = true;
}

void CVolumeOsd::Remove() {
    removeTimer_.stop();
    if (!devices_ || !shown_) return;
    devices_->DestroyOSDWindow(Window);
    shown_ = false;
}
