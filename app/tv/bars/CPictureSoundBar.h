#pragma once
// Content of the docking bar "Bild- und Tonsteuerung": the picture sliders
// (brightness, contrast, saturation), the sound (volume, mute, channel) and
// the video output of the card's decoder. Every change goes to the card at
// once and all values are written back to the settings. The bar is the
// picture/sound window of the private messages: 1229 (the video window was
// opened again: picture settings once more) and 1232 with the remote keys
// 13 (mute), 16 (louder) and 17 (softer), which show the volume on the card's
// on-screen display.
#include <QElapsedTimer>
#include <QHash>
#include <QWidget>
#include <functional>

#include "receiver/IDeviceSet.h"
#include "tv/bars/CPictureSoundSettings.h"

class QCheckBox;
class QComboBox;
class QSlider;
class CVolumeOsd;

class CPictureSoundBar : public QWidget {
    Q_OBJECT
  public:
    // Control ids of the bar.
    static constexpr int BrightnessSlider = 1072;
    static constexpr int ContrastSlider = 1157;
    static constexpr int SaturationSlider = 1077;
    static constexpr int VolumeSlider = 1082;
    static constexpr int MuteCheck = 1128;
    static constexpr int ChannelList = 1139;
    static constexpr int VideoOutList = 1140;
    static constexpr int StandardList = 1142;
    static constexpr int AspectList = 1143;
    static constexpr int TestModeList = 1144;
    /// After message 1229 further ones are ignored for this long.
    static constexpr int ReapplyPauseMs = 1000;

    /// Gives brightness, contrast and saturation to the video window.
    using VideoWindowHook = std::function<void(const PictureSettings&)>;

    /// Reads the settings, sets the controls and gives the values to the card
    /// once (all but the volume). `devices` may be null: then no card calls.
    explicit CPictureSoundBar(IDeviceSet* devices, QWidget* parent = nullptr);
    ~CPictureSoundBar() override;

    /// Where the picture settings go besides the decoder (the video window's
    /// colours); called at once with the current values, then on every change
    /// of a picture slider and on message 1229.
    void SetVideoWindowHook(VideoWindowHook hook);

    const CPictureSoundSettings& Settings() const { return settings_; }
    QWidget* Control(int controlId) const { return controls_.value(controlId); }
    const CVolumeOsd& VolumeDisplay() const { return *osd_; }

  protected:
    bool event(QEvent* e) override;

  private:
    QSlider* AddSlider(int id, int maximum, int value);
    QComboBox* AddList(int id, const QString* items, int count, int index);
    PictureSettings Picture() const;
    void ApplyPictureToDecoder();
    void ApplyPictureToWindow();
    void OnPictureSlider();
    void OnVolumeSlider(int value);
    void OnMuteClicked(bool mute);
    void OnListChanged(int id, int index);
    void ApplyList(int id, int index);
    void OnRemoteKey(int key);
    void OnReapplyPicture();
    void Save() const;

    IDeviceSet* devices_;
    CPictureSoundSettings settings_;
    QHash<int, QWidget*> controls_;
    QSlider* brightness_ = nullptr;
    QSlider* contrast_ = nullptr;
    QSlider* saturation_ = nullptr;
    QSlider* volume_ = nullptr;
    QCheckBox* mute_ = nullptr;
    CVolumeOsd* osd_ = nullptr;
    VideoWindowHook videoWindow_;
    QElapsedTimer lastReapply_;
};
