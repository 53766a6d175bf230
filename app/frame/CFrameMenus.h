#pragma once
#include <QHash>
#include <QMainWindow>
#include <QMenu>
#include <QObject>
#include <QStringList>

/// The menu bar of the main frame. Every command is a QAction carrying its
/// command number as data; commands start disabled and are enabled by the
/// part of the program that carries them out.
class CFrameMenus : public QObject {
    Q_OBJECT
  public:
    explicit CFrameMenus(QMainWindow& frame);

    QAction* Action(int id) const { return actions_.value(id); }
    QList<int> CommandIds() const { return actions_.keys(); }
    /// The menu with the given title as shown ("&Datei", ...), or null.
    QMenu* Menu(const QString& title) const;
    /// The recent-file list as a menu of its own (drop-down of "Öffnen").
    QMenu* RecentMenu() const { return recentMenu_; }

    /// Rebuilds the recent-file entries of "&Datei" and of the drop-down.
    void SetRecentFiles(const QStringList& paths);
    /// Makes a command available and runs `handler` when it is chosen.
    template <class F>
    QAction* Enable(int id, F handler) {
        QAction* action = Action(id);
        if (!action) return nullptr;
        action->setEnabled(true);
        connect(action, &QAction::triggered, this, handler);
        return action;
    }

    /// Makes a command available and runs `handler` instead of what it ran so far.
    template <class F>
    QAction* Replace(int id, F handler) {
        if (QAction* action = Action(id)) disconnect(action, &QAction::triggered, this, nullptr);
        return Enable(id, handler);
    }

  signals:
    /// A recent-file entry was chosen (0 = most recent).
    void recentFileChosen(int index);

  private:
    void Build(QMainWindow& frame);
    void FillRecentInto(QMenu* menu, QAction* before, QList<QAction*>& made,
                        const QStringList& paths);

    QHash<int, QAction*> actions_;
    QList<QMenu*> menus_;
    QMenu* fileMenu_ = nullptr;
    QAction* recentAnchor_ = nullptr;  ///< separator after the recent entries in "&Datei"
    QList<QAction*> recentInFile_;
    QList<QAction*> recentInDropDown_;
    QMenu* recentMenu_ = nullptr;
};
