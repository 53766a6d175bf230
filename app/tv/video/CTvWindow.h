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

  protected:
    void timerEvent(QTimerEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

  private:
    QPointer<CTvVideo> video_;
    QBasicTimer placement_;
};
