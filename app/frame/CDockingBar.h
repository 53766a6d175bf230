#pragma once
#include <QDockWidget>
#include <QSize>

/// A resizable docking bar with a title, a state name (its objectName) and a
/// default size. Its content is set by whoever fills the bar.
class CDockingBar : public QDockWidget {
    Q_OBJECT
  public:
    CDockingBar(const QString& title, const QString& stateName, int barId, QSize defaultSize,
                QWidget* parent);

    int BarId() const { return barId_; }
    QSize DefaultSize() const { return defaultSize_; }
    /// Size the bar asks for when it is laid out (its own stored state).
    QSize PreferredSize() const { return preferredSize_; }
    void SetPreferredSize(QSize size);
    /// Replaces the (so far empty) content of the bar.
    void SetContent(QWidget* content);

  private:
    int barId_;
    QSize defaultSize_;
    QSize preferredSize_;
};
