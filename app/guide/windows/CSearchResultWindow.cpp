#include "guide/windows/CSearchResultWindow.h"

#include "Allgemein/CGfxListCtrl.h"
#include "guide/windows/GuideWindowTexts.h"

namespace T = GuideWindowTexts;

CSearchResultWindow::CSearchResultWindow(std::vector<const CEPGInfo*> hits,
                                         ScheduleWindowHooks hooks, QWidget* parent)
    : CEventListDialog(T::ResultListName, std::move(hooks), parent) {
    setObjectName(T::ResultTitle);
    setWindowTitle(T::ResultTitle);
    setModal(true);
    SetRecords(std::move(hits));
    resize(960, 320);
}
