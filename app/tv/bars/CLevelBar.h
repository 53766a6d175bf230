#pragma once
// A level bar of the program status: filled from the left up to its value,
// coloured by a gradient from the colour of the low end to that of the high
// end, with the value and its unit written in the middle.
#include <QColor>
#include <QWidget>

class CLevelBar : public QWidget {
    Q_OBJECT
  public:
    static inline const QColor Red = QColor(255, 0, 0);
    static inline const QColor Green = QColor(0, 255, 0);

    /// A bar from 0 to `maximum`, its value shown with `decimals` places and `unit`.
    CLevelBar(double maximum, const QString& unit, int decimals, QWidget* parent = nullptr);

    void SetValue(double value);
    double Value() const { return value_; }
    double Maximum() const { return maximum_; }
    void SetColours(const QColor& low, const QColor& high);
    QColor LowColour() const { return low_; }
    QColor HighColour() const { return high_; }
    /// The value and unit as written in the bar ("57 %", "0.49 %").
    QString Text() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* e) override;

  private:
    double maximum_;
    QString unit_;
    int decimals_;
    double value_ = 0;
    QColor low_ = Red;
    QColor high_ = Green;
};
