#pragma once
// The guide's real dialogs: Qt's input dialog and message box with the
// German texts, the detail window, the search result window.
#include "guide/windows/IGuideDialogs.h"
#include "guide/windows/ScheduleWindowHooks.h"

class CGuideDialogs final : public IGuideDialogs {
  public:
    /// The result window adds to the timer list through `hooks`.
    explicit CGuideDialogs(const ScheduleWindowHooks& hooks) : hooks_(hooks) {}

    std::optional<QString> AskSearchText(QWidget* parent) override;
    void TellNothingFound(QWidget* parent) override;
    void ShowDetail(const CEPGInfo& record, QWidget* parent) override;
    void ShowResults(std::vector<const CEPGInfo*> hits, QWidget* parent) override;

  private:
    const ScheduleWindowHooks& hooks_;
};
