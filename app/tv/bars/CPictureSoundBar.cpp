#include "tv/bars/CPictureSoundBar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>
#include <iterator>

#include "common/PrivateMessages.h"
#include "tv/bars/BarRules.h"
#include "tv/bars/BarsTexts.h"
#include "tv/bars/CVolumeOsd.h"

namespace {
constexpr int PictureMax = 255;

// The drop lists: their stored value and what the card gets with nothing selected.
struct ListDef {
    int id;
    int CPictureSoundSettings::*member;
    int fallback;
};
const ListDef Lists[] = {
    {CPictureSoundBar::ChannelList, &CPictureSoundSettings::channel, 0},
    {CPictureSoundBar::VideoOutList, &CPictureSoundSettings::videoOut, 1},
    {CPictureSoundBar::StandardList, &CPictureSoundSettings::standard, 0},
    {CPictureSoundBar::AspectList, &CPictureSoundSettings::aspect, 0},
    {CPictureSoundBar::TestModeList, &CPictureSoundSettings::testMode, 0},
};

const ListDef& ListOf(int id) {
    for (const ListDef& def : Lists)
        if (def.id == id) return def;
    return Lists[0];
}
}  // namespace

CPictureSoundBar::CPictureSoundBar(IDeviceSet* devices, QWidget* parent)
    : QWidget(parent), devices_(devices), osd_(new CVolumeOsd(devices, this)) {
    {
        QSettings settings;
        settings_.Load(settings);
    }
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(6);

    QGroupBox* picture = new QGroupBox(BarsTexts::PictureBox, this);
    auto* pictureGrid = new QGridLayout(picture);
    pictureGrid->setVerticalSpacing(2);
    const std::pair<const QString*, QSlider**> sliders[] = {{&BarsTexts::Brightness, &brightness_},
                                                            {&BarsTexts::Contrast, &contrast_},
                                                            {&BarsTexts::Saturation, &saturation_}};
    const int ids[] = {BrightnessSlider, ContrastSlider, SaturationSlider};
    const int values[] = {settings_.brightness, settings_.contrast, settings_.saturation};
    for (int row = 0; row < 3; ++row) {
        *sliders[row].second = AddSlider(ids[row], PictureMax, values[row]);
        pictureGrid->addWidget(new QLabel(*sliders[row].first, picture), row, 0);
        pictureGrid->addWidget(*sliders[row].second, row, 1);
        connect(*sliders[row].second, &QSlider::valueChanged, this,
                &CPictureSoundBar::OnPictureSlider);
    }
    layout->addWidget(picture);

    QGroupBox* sound = new QGroupBox(BarsTexts::SoundBox, this);
    auto* soundGrid = new QGridLayout(sound);
    soundGrid->setVerticalSpacing(2);
    volume_ = AddSlider(VolumeSlider, BarRules::MaxVolume, settings_.volume);
    connect(volume_, &QSlider::valueChanged, this, &CPictureSoundBar::OnVolumeSlider);
    soundGrid->addWidget(new QLabel(BarsTexts::Volume, sound), 0, 0);
    soundGrid->addWidget(volume_, 0, 1, 1, 2);
    mute_ = new QCheckBox(BarsTexts::Mute, sound);
    mute_->setProperty("controlId", MuteCheck);
    mute_->setChecked(settings_.mute != 0);
    controls_.insert(MuteCheck, mute_);
    connect(mute_, &QCheckBox::clicked, this, &CPictureSoundBar::OnMuteClicked);
    soundGrid->addWidget(mute_, 1, 0);
    soundGrid->addWidget(new QLabel(BarsTexts::Channel, sound), 2, 0);
    soundGrid->addWidget(AddList(ChannelList, BarsTexts::ChannelItems,
                                 int(std::size(BarsTexts::ChannelItems)), settings_.channel),
                         2, 1, 1, 2);
    layout->addWidget(sound);

    QGroupBox* video = new QGroupBox(BarsTexts::VideoOutBox, this);
    auto* videoColumn = new QVBoxLayout(video);
    videoColumn->setSpacing(2);
    videoColumn->addWidget(AddList(VideoOutList, BarsTexts::VideoOutItems,
                                   int(std::size(BarsTexts::VideoOutItems)), settings_.videoOut));
    videoColumn->addWidget(AddList(StandardList, BarsTexts::StandardItems,
                                   int(std::size(BarsTexts::StandardItems)), settings_.standard));
    videoColumn->addWidget(AddList(AspectList, BarsTexts::AspectItems,
                                   int(std::size(BarsTexts::AspectItems)), settings_.aspect));
    videoColumn->addWidget(AddList(TestModeList, BarsTexts::TestModeItems,
                                   int(std::size(BarsTexts::TestModeItems)), settings_.testMode));
    videoColumn->addStretch();
    layout->addWidget(video);

    // The controls hold the values as they can show them (a stored value out
    // of range is cut to it, an unknown list entry is no selection).
    settings_.brightness = brightness_->value();
    settings_.contrast = contrast_->value();
    settings_.saturation = saturation_->value();
    settings_.volume = volume_->value();
    settings_.mute = mute_->isChecked() ? 1 : 0;
    for (const ListDef& def : Lists)
        settings_.*def.member = static_cast<QComboBox*>(Control(def.id))->currentIndex();

    // Everything once to the card; the volume only when it changes.
    ApplyPictureToDecoder();
    ApplyPictureToWindow();
    for (const ListDef& def : Lists) ApplyList(def.id, settings_.*def.member);
    if (devices_) devices_->SetAudioMute(settings_.mute != 0);

    PrivateMessages::RegisterWindow(MessageWindow::PictureBar, this);
}

CPictureSoundBar::~CPictureSoundBar() = default;

QSlider* CPictureSoundBar::AddSlider(int id, int maximum, int value) {
    auto* slider = new QSlider(Qt::Horizontal, this);
    slider->setRange(0, maximum);
    slider->setValue(value);
    slider->setProperty("controlId", id);
    slider->setMinimumWidth(72);
    controls_.insert(id, slider);
    return slider;
}

QComboBox* CPictureSoundBar::AddList(int id, const QString* items, int count, int index) {
    auto* list = new QComboBox(this);
    for (int i = 0; i < count; ++i) list->addItem(items[i]);
    list->setCurrentIndex(index >= 0 && index < count ? index : -1);
    list->setProperty("controlId", id);
    controls_.insert(id, list);
    connect(list, &QComboBox::currentIndexChanged, this,
            [this, id](int i) { OnListChanged(id, i); });
    return list;
}

void CPictureSoundBar::SetVideoWindowHook(VideoWindowHook hook) {
    videoWindow_ = std::move(hook);
    ApplyPictureToWindow();
}

PictureSettings CPictureSoundBar::Picture() const {
    return {std::uint8_t(settings_.brightness), std::uint8_t(settings_.contrast),
            std::uint8_t(settings_.saturation)};
}

void CPictureSoundBar::ApplyPictureToDecoder() {
    if (devices_) devices_->SetPictureParameters(Picture());
}

void CPictureSoundBar::ApplyPictureToWindow() {
    if (videoWindow_) videoWindow_(Picture());
}

void CPictureSoundBar::OnPictureSlider() {
    settings_.brightness = brightness_->value();
    settings_.contrast = contrast_->value();
    settings_.saturation = saturation_->value();
    ApplyPictureToDecoder();
    ApplyPictureToWindow();
    Save();
}

void CPictureSoundBar::OnVolumeSlider(int value) {
    settings_.volume = value;
    if (devices_) devices_->SetVolume(std::uint8_t(value), std::uint8_t(value));
    Save();
}

void CPictureSoundBar::OnMuteClicked(bool mute) {
    settings_.mute = mute ? 1 : 0;
    if (devices_) devices_->SetAudioMute(mute);
    Save();
    // Muting shows "Mute" until the next change; unmuting here takes it away at once.
    if (mute)
        osd_->Show(settings_.volume, true);
    else
        osd_->Remove();
}

void CPictureSoundBar::OnListChanged(int id, int index) {
    settings_.*ListOf(id).member = index;
    ApplyList(id, index);
    Save();
}

void CPictureSoundBar::ApplyList(int id, int index) {
    if (!devices_) return;
    const int value = BarRules::SelectionOr(index, ListOf(id).fallback);
    switch (id) {
        case ChannelList:
            devices_->SetAudioChannel(value);
            break;
        case VideoOutList:
            devices_->SetVideoOutputMode(value);
            break;
        case StandardList:
            devices_->SetVideoStandard(value);
            break;
        case AspectList:
            devices_->SetAspectRatio(value);
            break;
        case TestModeList:
            devices_->SetVideoTestMode(value);
            break;
        default:
            break;
    }
}

void CPictureSoundBar::OnRemoteKey(int key) {
    const BarRules::SoundState before{settings_.volume, settings_.mute != 0};
    const auto after = BarRules::ApplyRemoteKey(before, key);
    if (!after) return;
    settings_.volume = after->volume;
    settings_.mute = after->mute ? 1 : 0;
    {
        const QSignalBlocker volumeQuiet(volume_);
        const QSignalBlocker muteQuiet(mute_);
        volume_->setValue(after->volume);
        mute_->setChecked(after->mute);
    }
    if (devices_) {
        if (key != BarRules::KeyMute)
            devices_->SetVolume(std::uint8_t(after->volume), std::uint8_t(after->volume));
        if (after->mute != before.mute) devices_->SetAudioMute(after->mute);
    }
    Save();
    osd_->Show(after->volume, after->mute);
}

void CPictureSoundBar::OnReapplyPicture() {
    // The video window needs a moment after it opened; a second request within
    // that time is the same opening and is not repeated.
    if (lastReapply_.isValid() && lastReapply_.elapsed() < ReapplyPauseMs) return;
    ApplyPictureToWindow();
    ApplyPictureToDecoder();
    lastReapply_.start();
}

void CPictureSoundBar::Save() const {
    QSettings settings;
    settings_.Save(settings);
}

bool CPictureSoundBar::event(QEvent* e) {
    if (PrivateMessageEvent::IsPrivate(e)) {
        const auto* message = static_cast<const PrivateMessageEvent*>(e);
        if (message->number() == Msg::PictureReapply) {
            OnReapplyPicture();
            return true;
        }
        if (message->number() == Msg::RemoteKey) {
            OnRemoteKey(int(message->wParam()));
            return true;
        }
    }
    return QWidget::event(e);
}
