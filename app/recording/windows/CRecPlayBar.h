#pragma once
// Content of the docking bar "VCR-Steuerung": the transport buttons, the
// position slider and progress bar, the state, bit rate, size and length
// displays, the format buttons and the options "Endloswiedergabe" and
// "Benutze Wiedergabeliste". It draws what the VCR core describes and hands
// the user's actions to it. The bar is the VCR window of the private
// messages: 1230 (command code, playlist index) and 1239 (the back end's
// state changed); it is also where the program posts its VCR commands.
#include <QWidget>
#include <array>

#include "recording/CVcrCore.h"
#include "recording/IVcrCommandSink.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QProgressBar;
class QSlider;
class QToolButton;

class CRecPlayBar : public QWidget, public IVcrCommandSink {
    Q_OBJECT
  public:
    enum class Button {
        OpenPlayback,
        OpenRecording,
        Close,
        Play,
        Pause,
        Stop,
        Half,
        Double,
        Record
    };
    static constexpr int kButtons = 9;
    /// How often a running recording checks that its back end still answers.
    static constexpr int kRecordingCheckMs = 2000;

    /// Registers as the VCR window and for the core's announcements.
    explicit CRecPlayBar(CVcrCore& core, QWidget* parent = nullptr);
    ~CRecPlayBar() override;

    void PostVcrCommand(int code, std::uint32_t index, const std::string& text) override;
    using IVcrCommandSink::PostVcrCommand;

    QToolButton* ButtonOf(Button b) const { return buttons_[std::size_t(b)]; }
    QSlider* Slider() const { return slider_; }
    QProgressBar* Progress() const { return progress_; }
    QLabel* StateLabel() const { return state_; }
    QLabel* FileLabel() const { return file_; }
    QCheckBox* EndlessBox() const { return endless_; }
    QCheckBox* PlaylistBox() const { return usePlaylist_; }

  protected:
    bool event(QEvent* e) override;

  private:
    QWidget* BuildTransport();
    QWidget* BuildFile();
    void Show();
    void ShowColours(const VcrColours& colours);

    CVcrCore& core_;
    std::array<QToolButton*, kButtons> buttons_{};
    QSlider* slider_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel *state_ = nullptr, *position_ = nullptr, *length_ = nullptr, *kbits_ = nullptr,
           *size_ = nullptr, *file_ = nullptr;
    QButtonGroup* formats_ = nullptr;
    QCheckBox *endless_ = nullptr, *usePlaylist_ = nullptr;
    VcrColours shownColours_{};
    bool coloursShown_ = false;
};
