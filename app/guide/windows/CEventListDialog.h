#pragma once
// What the schedule list and the search result share: a dialog around a
// list of guide events with the guide's columns, double click for the detail
// window, and the two actions on the selection ("Zur Timerliste addieren",
// "Event Detailansicht"). The records are the receiver's; the dialog keeps
// pointers to them and never changes them.
#include <QDialog>
#include <memory>
#include <vector>

#include "guide/windows/CGuideDialogs.h"
#include "guide/windows/ScheduleWindowHooks.h"

class CGfxListCtrl;
class QMenu;

class CEventListDialog : public QDialog {
    Q_OBJECT
  public:
    CEventListDialog(const QString& listName, ScheduleWindowHooks hooks, QWidget* parent);
    ~CEventListDialog() override;

    /// Dialogs go to `dialogs` from now on (tests answer them).
    void SetDialogs(IGuideDialogs& dialogs) { dialogs_ = &dialogs; }

    CGfxListCtrl& List() const { return *list_; }
    const std::vector<const CEPGInfo*>& Records() const { return records_; }
    /// The records of the selected rows in row order, header rows skipped.
    std::vector<const CEPGInfo*> SelectedRecords() const;
    /// The context menu with its entries enabled for the current selection.
    virtual std::unique_ptr<QMenu> MakeContextMenu();

    /// Offers each selected event to the timer list in turn (each opens its
    /// own timer dialog).
    void AddSelectedToTimerList();
    /// The detail window of the first selected event.
    void ShowSelectedDetail();

  protected:
    /// Shows `records` in their order; the selected events and the event at
    /// the top of the view stay where they are found again.
    void SetRecords(std::vector<const CEPGInfo*> records);
    /// The two entries on the selection, enabled only with one.
    void AddEventActions(QMenu& menu);

    ScheduleWindowHooks hooks_;
    IGuideDialogs* dialogs_;

  private:
    void BuildList(const QString& listName);
    void ShowDetailOf(int item);
    int TopItem() const;

    CGuideDialogs ownDialogs_;
    CGfxListCtrl* list_ = nullptr;
    std::vector<const CEPGInfo*> records_;
};
