#pragma once
// Content of the docking bar "MPEG-Decoder Status": a two-column list of the
// decoder's picture size, bit rate, format, frame rate and skipped and
// repeated pictures, read once a second (timer 8000). A failed read leaves
// the list as it was.
#include <QTimer>
#include <QWidget>

class IDeviceSet;
class QTableWidget;

class CDecoderStatusBar : public QWidget {
    Q_OBJECT
  public:
    static constexpr int StatusList = 1198;

    /// `devices` may be null: then the list stays empty and nothing is read.
    explicit CDecoderStatusBar(IDeviceSet* devices, QWidget* parent = nullptr);

    /// One tick of the timer: reads the decoder and refills the list on success.
    void Refresh();
    const QTableWidget& List() const { return *list_; }
    const QTimer& RefreshTimer() const { return timer_; }

  private:
    IDeviceSet* devices_;
    QTableWidget* list_;
    QTimer timer_;
};
