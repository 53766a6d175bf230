#pragma once
#include <QLabel>
#include <QMap>
#include <QStatusBar>

/// The status bar: pane 0 shows the menu help texts; then four panes of the
/// program (program count, timer, CA slot 1 and 2), found by their pane ids.
class CFrameStatusBar : public QStatusBar {
    Q_OBJECT
  public:
    explicit CFrameStatusBar(QWidget* parent);

    void SetPaneText(int paneId, const QString& text);
    QString PaneText(int paneId) const;
    QLabel* Pane(int paneId) const { return panes_.value(paneId); }
    /// Pane ids in the order they stand in the bar.
    static QList<int> PaneOrder();

    /// "Status CA Slot n: ..." for a slot status report (0 empty, 1 module, 2 ok).
    static QString SlotStatusText(int slot, int status);

  private:
    QMap<int, QLabel*> panes_;
};
