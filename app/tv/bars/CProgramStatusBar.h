#pragma once
// Content of the docking bar "Status": how well the card receives the tuned
// program, read once a second (timer 8003). Signal quality, signal strength,
// AFC deviation, audio buffer fill and bit error rate are bars; frequency,
// symbol rate, polarisation and the video and audio PIDs are texts. It only
// reads the card. A read that fails leaves what it would set as it was.
#include <QHash>
#include <QTimer>
#include <QWidget>
#include <optional>

#include "receiver/IDeviceSet.h"

class CLevelBar;
class QLabel;

class CProgramStatusBar : public QWidget {
    Q_OBJECT
  public:
    // Control ids: the bars, then the texts.
    static constexpr int QualityBar = 1145;
    static constexpr int StrengthBar = 1146;
    static constexpr int AfcBar = 1162;
    static constexpr int AudioBufferBar = 1165;
    static constexpr int ErrorRateBar = 1167;
    static constexpr int FrequencyText = 1037;
    static constexpr int SymbolRateText = 1040;
    static constexpr int PolarisationText = 1043;
    static constexpr int VideoPidText = 1206;
    static constexpr int AudioPidText = 1207;
    /// What zGetSignal is asked with.
    static constexpr std::uint16_t SignalRequest = 500;

    /// `devices` may be null: then nothing is read and everything stays at its start.
    explicit CProgramStatusBar(IDeviceSet* devices, QWidget* parent = nullptr);

    /// PIDs as "%04X" (true) or in decimal; the texts follow at once.
    void SetPidHexDisplay(bool hex);
    bool PidHexDisplay() const { return pidHex_; }

    /// One tick of the timer: the five reads and the new bars and texts.
    void Refresh();
    const CLevelBar& Bar(int controlId) const { return *bars_.value(controlId); }
    QString Text(int controlId) const;
    const QTimer& RefreshTimer() const { return timer_; }

  private:
    CLevelBar* AddBar(int id, double maximum, const QString& unit, int decimals);
    void ShowPids();

    IDeviceSet* devices_;
    QHash<int, CLevelBar*> bars_;
    QHash<int, QLabel*> texts_;
    // The last records read from the front end; a failed read keeps them.
    SignalRecord signal_;
    ChannelRecord channel_;
    std::optional<std::uint16_t> videoPid_, audioPid_;
    bool pidHex_ = false;
    QTimer timer_;
};
