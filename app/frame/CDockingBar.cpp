#include "frame/CDockingBar.h"

namespace {
/// Content of a bar before its real content exists: empty, of the bar's size.
class SizedArea : public QWidget {
  public:
    SizedArea(QSize size, QWidget* parent) : QWidget(parent), size_(size) {}
    QSize sizeHint() const override { return size_; }
    void SetSize(QSize size) {
        size_ = size;
        updateGeometry();
    }

  private:
    QSize size_;
};
}  // namespace

CDockingBar::CDockingBar(const QString& title, const QString& stateName, int barId,
                         QSize defaultSize, QWidget* parent)
    : QDockWidget(title, parent),
      barId_(barId),
      defaultSize_(defaultSize),
      preferredSize_(defaultSize) {
    setObjectName(stateName);
    setAllowedAreas(Qt::AllDockWidgetAreas);
    setFeatures(DockWidgetClosable | DockWidgetMovable | DockWidgetFloatable);
    setWidget(new SizedArea(defaultSize, this));
}

void CDockingBar::SetPreferredSize(QSize size) {
    if (!size.isValid() || size.isEmpty()) return;
    preferredSize_ = size;
    if (auto* area = dynamic_cast<SizedArea*>(widget())) area->SetSize(size);
}

void CDockingBar::SetContent(QWidget* content) {
    QWidget* old = widget();
    setWidget(content);
    delete old;
}
