#pragma once
// The volume display on the card's on-screen display (window 7): "   Mute "
// while the sound is muted, which stays until the next change; otherwise
// "Volume: nn" with a bar of twice the volume's width, removed one second
// later (timer 8002).
#include <QObject>
#include <QTimer>
#include <string>

class IDeviceSet;

class CVolumeOsd : public QObject {
    Q_OBJECT
  public:
    static constexpr int Window = 7;

    /// `devices` may be null: then nothing is shown.
    explicit CVolumeOsd(IDeviceSet* devices, QObject* parent = nullptr);
    ~CVolumeOsd() override;

    /// Replaces what is shown by the display for this sound.
    void Show(int volume, bool mute);
    /// Takes the display off the screen (nothing when none is shown).
    void Remove();
    bool Shown() const { return shown_; }
    /// The one-second timer that removes the volume display.
    const QTimer& RemoveTimer() const { return removeTimer_; }

  private:
    /// Opens window 7 with `text` and, for a volume, its bar (`blockWidth` > 0).
    void Open(int width, const std::string& text, int blockWidth);

    IDeviceSet* devices_;
    QTimer removeTimer_;
    bool shown_ = false;
};
