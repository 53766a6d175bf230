#pragma once
// The modal window "SVL-Editor Videotext": the page of the page cache chosen
// by number, buttons, subpage buttons or a click on a page number, drawn by
// the page view; the cache and subpage texts every 333 ms; the HTML export.
// Only one window holds the view slot at a time. The pages come in through
// PageArrived (the shell feeds it from the card's teletext); a page arriving
// while a redraw is pending updates the display.
#include <QDialog>
#include <QTimer>
#include <cstdint>
#include <span>

#include "videotext/VtCells.h"

class CVtPageView;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vt {
class VtPageCache;
}

class CVideotextDlg : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kTimerMs = 333;

    CVideotextDlg(vt::VtPageCache& cache, QWidget* parent);
    ~CVideotextDlg() override;

    /// Claims the view slot and starts at page 100 with the timer running;
    /// when another window holds the slot: the error box, and false.
    bool Open();
    /// Tells the user why no page will arrive and ends the window.
    void Refuse(const QString& text);
    /// One datagram of the card: stored in the cache when its page number
    /// (bytes 8-10) is not above 899; the display updates when a redraw is pending.
    void PageArrived(std::span<const std::uint8_t> datagram);

    /// Whether some window holds the view slot.
    static bool SlotTaken();

    int CurrentPage() const { return page_; }
    int CurrentSubpage() const { return subpage_; }
    bool RedrawPending() const { return redrawPending_; }
    /// Makes `page` current (100-899; other numbers are ignored).
    void SelectPage(int page);
    /// The display update (normally on an arriving page while a redraw is pending).
    void UpdateDisplay();
    /// The 333 ms step: cache and subpage texts, redraw pending.
    void TimerStep();
    /// The click rule on a point in the page's logical coordinates.
    void ClickAt(QPointF logical);
    /// "Export": writes the current subpage as HTML into the export folder.
    void ExportPage();

    CVtPageView* PageView() const { return view_; }
    QLineEdit* PageField() const { return field_; }
    QPushButton* PreviousButton() const { return previous_; }
    QPushButton* NextButton() const { return next_; }
    QPushButton* FirstButton() const { return first_; }
    QPushButton* PreviousSubpageButton() const { return previousSub_; }
    QPushButton* NextSubpageButton() const { return nextSub_; }
    QPushButton* ExportButton() const { return export_; }
    QPushButton* FolderButton() const { return folder_; }
    QPushButton* EndButton() const { return end_; }
    QLabel* StatusText() const { return status_; }
    QLabel* SubpageText() const { return subpageText_; }
    QLabel* CacheText() const { return cacheText_; }
    QLabel* ReceivedText() const { return received_; }

  public slots:
    /// "Ende" (and Escape): timer stopped, view slot freed, window closed.
    void reject() override;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void BuildControls();
    QWidget* BuildSide();
    void ChangePage(int page, bool typed);
    void FieldEdited(const QString& text);
    void StepSubpage(bool forward);
    void ShowSubpageText();
    void ChooseFolder();
    bool AskOverwrite(const QString& file);
    void ShowError(const QString& text);
    vt::DisplayPage LayoutCurrent(bool& found);

    vt::VtPageCache& cache_;
    QTimer timer_;
    int page_ = vt::kFirstPage;
    int subpage_ = 0;
    int shownPage_ = 0;
    bool selectFirst_ = true;
    bool redrawPending_ = true;
    bool open_ = false;
    CVtPageView* view_ = nullptr;
    QLineEdit* field_ = nullptr;
    QPushButton* previous_ = nullptr;
    QPushButton* next_ = nullptr;
    QPushButton* first_ = nullptr;
    QPushButton* previousSub_ = nullptr;
    QPushButton* nextSub_ = nullptr;
    QPushButton* export_ = nullptr;
    QPushButton* folder_ = nullptr;
    QPushButton* end_ = nullptr;
    QLabel* status_ = nullptr;
    QLabel* subpageText_ = nullptr;
    QLabel* cacheText_ = nullptr;
    QLabel* received_ = nullptr;
};
