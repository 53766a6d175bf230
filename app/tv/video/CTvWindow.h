#pragma once
// The TV window: the empty dialog inside the "Video" bar over which the video
// window shows the picture. It tells the video side when it comes and goes,
// where it is (timer 1000, every 500 ms) and when the mouse is over it.
#include <QBasicTimer>
#include <QPointer>
#include <QWidget>

class CTvVideo;

class CTvWindow : public QWidget {
    Q_OBJECT
  public:
    CTvWindow(CTvVideo& video, QWidget* parent = nullptr);
    ~CTvWindow() override;

    /// The window's rectangle in screen pixels.
    QRect ScreenRect() const;
    /// Room for a 4:3 picture beside the other bars of the bottom row.
    QSize sizeHint() const override { return {kPreferredWidth, kPreferredWidth * 3 / 4}; }
    static constexpr int kPreferredWidth = 200;

  protected:
    void timerEvent(QTimerEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

  private:
    QPointer<CTvVideo> video_;
    QBasicTimer placement_;
};
