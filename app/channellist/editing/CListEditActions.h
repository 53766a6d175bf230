#pragma once
#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <map>
#include <vector>

class CListEditor;
class CListPrintController;
class QAction;
class QSettings;
class QWidget;

/// The menu side of the editing commands: one QAction per command (text, shortcuts,
/// command id as data), enabled by the command's availability, triggering the editor,
/// the dialogs and the print controller.
///
/// A frame that already has menu actions with these command ids passes them to Attach;
/// otherwise it puts Action(id) into its menus. DeleteAction() belongs on the list widget
/// (the Delete key works only there).
class CListEditActions : public QObject {
    Q_OBJECT
  public:
    CListEditActions(CListEditor& editor, CListPrintController& printing, QSettings& settings,
                     QWidget* window);

    /// The action of a command id of EditCmd (nullptr for an unknown id).
    QAction* Action(int id) const;
    QAction* DeleteAction() const { return delete_; }
    /// Makes existing actions with these command ids (QAction::data) run the commands.
    void Attach(const QList<QAction*>& actions);

    /// Runs the command with this id as its menu item would (when it is available).
    void Trigger(int id);
    /// Whether the command with this id can run now (false for an unknown id).
    bool Available(int id) const;

  public slots:
    /// Enables and disables the actions; call after the selection or the mode changed.
    void UpdateEnabled();

  private:
    struct Command {
        std::function<void()> run;
        std::function<bool()> available;
    };
    void Define(int id, const char* text, const QList<QKeyCombination>& keys, Command command);
    void OpenReference();
    void OpenReplace();
    void OpenFind();

    CListEditor& editor_;
    CListPrintController& printing_;
    QSettings& settings_;
    QPointer<QWidget> window_;
    std::map<int, Command> commands_;
    std::map<int, QAction*> own_;
    std::vector<std::pair<int, QPointer<QAction>>> attached_;
    QAction* delete_ = nullptr;
    QString lastFindText_;
};
