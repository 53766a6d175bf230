#pragma once
// "Suchergebnis": the events a search of the schedule list found, flat, in
// the guide's columns, with the schedule list's two actions on the selection
// in its context menu.
#include "guide/windows/CEventListDialog.h"

class CSearchResultWindow : public CEventListDialog {
    Q_OBJECT
  public:
    CSearchResultWindow(std::vector<const CEPGInfo*> hits, ScheduleWindowHooks hooks,
                        QWidget* parent = nullptr);
};
