#pragma once
// The page area of the videotext window: the shown page drawn to the widget's
// size (VtPagePainter), a click turned back into the logical coordinates the
// window's click rule works in.
#include <QPointF>
#include <QWidget>

#include "videotext/VtCells.h"

class CVtPageView : public QWidget {
    Q_OBJECT
  public:
    explicit CVtPageView(QWidget* parent);

    void SetPage(const vt::DisplayPage& page);
    const vt::DisplayPage& Page() const { return page_; }
    /// A widget point in the logical coordinates of the page.
    QPointF ToLogical(QPointF widgetPoint) const;
    /// A logical point as a widget point (for tests and the click position).
    QPointF ToWidget(QPointF logical) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  signals:
    /// A left click, in logical coordinates.
    void clicked(QPointF logical);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    vt::DisplayPage page_;
};
