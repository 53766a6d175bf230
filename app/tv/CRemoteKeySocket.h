#pragma once
// The program's receiver of remote-control keys: each datagram of exactly
// two bytes whose second byte has its top bit set is one key, its code the
// first byte's low six bits (codes above 46 are ignored). Each key goes to
// the window that handles it, as private messages: digits and the list keys
// to the view, volume and mute to the picture/sound bar, full screen to the
// frame, the recording and playlist keys to the VCR bar.
#include <QObject>
#include <functional>
#include <optional>
#include <span>

class IDeviceSet;

class CRemoteKeySocket : public QObject {
    Q_OBJECT
  public:
    static constexpr int kHighestKey = 46;

    /// What the keys depend on besides the windows.
    struct Context {
        /// The recorder's state: 0 idle, 1 recording, 2 playing back.
        std::function<int()> vcrMode;
        /// True while the playback was started from the playlist.
        std::function<bool()> playlistPlayback;
        /// True while the on-screen guide is shown.
        std::function<bool()> guideOnScreen;
        /// True while the picture is full screen.
        std::function<bool()> fullScreen;
        /// Restores the minimised frame, or minimises it.
        std::function<void()> toggleMinimised;
    };

    explicit CRemoteKeySocket(IDeviceSet& card, QObject* parent = nullptr);
    ~CRemoteKeySocket() override;

    void SetContext(Context context) { context_ = std::move(context); }
    /// Opens the receiver on the remote control's port; false when it failed.
    bool Open();
    void Close();

    /// The key code of one datagram, if it is a key.
    static std::optional<int> KeyOf(std::span<const std::uint8_t> datagram);
    /// Acts on one key as the key table says.
    void Dispatch(int key);

  private:
    int VcrMode() const { return context_.vcrMode ? context_.vcrMode() : 0; }
    bool InPlaylistPlayback() const;
    bool GuideOnScreen() const { return context_.guideOnScreen && context_.guideOnScreen(); }
    void EndRecording();
    void RestartPlaylistAt(int key);

    IDeviceSet& card_;
    Context context_;
    bool open_ = false;
};
