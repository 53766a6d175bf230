#pragma once
// The schedule list "EPG-ScheduleInfo": the events the receiver has
// collected, in its order, in the list "TheEPGScheduleList", grouped under
// their content categories at the start. Opening the window starts the
// schedule reception and loads the rows; closing it, in any way, stops the
// reception. The context menu "Schedule" adds the selection to the timer
// list, shows an event's details, switches the category view, reloads and
// searches (also Ctrl+F).
#include "guide/windows/CEventListDialog.h"

class CScheduleListWindow : public CEventListDialog {
    Q_OBJECT
  public:
    explicit CScheduleListWindow(ScheduleWindowHooks hooks, QWidget* parent = nullptr);
    ~CScheduleListWindow() override;

    std::unique_ptr<QMenu> MakeContextMenu() override;
    void ToggleCategoryView();
    /// Asks for a text and shows the events that hold it.
    void Search();
    /// Between opening and closing.
    bool Receiving() const { return receiving_; }

    void done(int result) override;

  public slots:
    /// Fetches the records again and shows them, keeping the selection and
    /// the scroll position where the events are found again.
    void Reload();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void StopReception();

    bool receiving_ = false;
};
