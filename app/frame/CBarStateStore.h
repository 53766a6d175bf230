#pragma once
#include <QList>
#include <QMainWindow>
#include <QSettings>

class CDockingBar;

/// Saves and restores the bars of the main frame: each docking bar's own
/// state under its state name, the layout of all bars under "bar state
/// Editor" and the window placement.
class CBarStateStore {
  public:
    static inline const QString LayoutSection = QStringLiteral("bar state Editor");
    static inline const QString PlacementSection = QStringLiteral("Window Placement");

    /// `bars` in the order their states are written and read.
    CBarStateStore(QMainWindow& frame, QList<CDockingBar*> bars);

    void SaveBarStates(QSettings& settings) const;
    void SavePlacement(QSettings& settings) const;
    void SaveLayout(QSettings& settings) const;

    /// Each bar's own state, then the layout of all bars.
    void LoadBarStates(QSettings& settings) const;
    /// False when nothing usable was stored (the window keeps its default place).
    bool LoadPlacement(QSettings& settings) const;

  private:
    bool KnowsBar(int barId) const;

    QMainWindow& frame_;
    QList<CDockingBar*> bars_;
};
