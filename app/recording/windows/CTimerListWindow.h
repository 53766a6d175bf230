#pragma once
// "Timerliste": the timers in the list "TheTimerList", edited through the
// context menu "Timer", the Delete key (delete the selection) and a double
// click (edit the entry). The window is modal and edits the program's one
// timer list, which it writes to the data file when it closes. The
// scheduler's listChanged goes to Refresh(), so that statuses stay current
// while the window is open.
#include <QDialog>
#include <memory>

#include "recording/windows/CTimerDialogs.h"

class CGfxListCtrl;
class CTimerList;
class QMenu;

class CTimerListWindow : public QDialog {
    Q_OBJECT
  public:
    explicit CTimerListWindow(CTimerList& list, QWidget* parent = nullptr);

    /// Boxes and dialogs go to `dialogs` from now on (tests answer them).
    void SetDialogs(ITimerDialogs& dialogs) { dialogs_ = &dialogs; }

    CGfxListCtrl& List() const { return *list_; }
    /// The context menu "Timer" with its entries enabled for the current
    /// selection and list.
    std::unique_ptr<QMenu> MakeContextMenu();

    void done(int result) override;

  public slots:
    /// Shows the list as it is now.
    void Refresh();

  private:
    void BuildList();
    void ShowContextMenu(const QPoint& pos);
    void EditEntry(int index);
    void EditSelected();
    void DeleteSelected();
    void DeleteAll();

    CTimerList& timers_;
    CTimerDialogs ownDialogs_;
    ITimerDialogs* dialogs_;
    CGfxListCtrl* list_ = nullptr;
};
