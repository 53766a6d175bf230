#pragma once
// The guide on the card's on-screen display: the short information (clock,
// program and the present and following event, windows 1 to 3, for five
// seconds) and the full page of the present or the following event (windows
// 1 and 4) with its texts, which scroll line by line.
#include <QObject>
#include <QString>
#include <QTime>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

class CEventSlots;
class IDeviceSet;
struct EventSlot;

class COsdGuide : public QObject {
    Q_OBJECT
  public:
    /// The pages of a request.
    enum Page { Present = 0, Following = 1, ShortInfo = 3, Close = 4 };

    struct Context {
        /// Document index of the tuned program (-1 none) and its name.
        std::function<int()> tunedIndex;
        std::function<QString()> tunedName;
        std::function<QTime()> now;
    };

    COsdGuide(IDeviceSet& card, const CEventSlots& events, Context context,
              QObject* parent = nullptr);
    ~COsdGuide() override;

    /// A page request: `show` 0 closes; `scroll` redraws the shown page from
    /// the current scroll line without starting it anew.
    void Request(bool show, bool scroll, int page);
    /// Message 1227: 1 short information, 2 present page, 3 following page, 4 close.
    void PageMessage(int code);
    /// Shows a full page by key or command: the guide counts as shown.
    void ShowPage(int page);
    /// Command "OSD -& EPG" and the guide key: off when shown, else `page`.
    void Toggle(int page);
    /// Moves the shown page by `delta` lines (only while the guide is shown).
    void Scroll(int delta);

    bool Shown() const { return shown_; }
    /// The full page on the screen (Present or Following), -1 for none.
    int PageOnScreen() const { return pageOnScreen_; }

    /// The lines of a full page below its heading: the event name, then the
    /// texts wrapped to the page's width.
    static std::vector<std::string> PageLines(const EventSlot& slot);
    /// "Montag, 11.März 2024 20:15, (90 Min)".
    static QString PageHeading(const EventSlot& slot);

  signals:
    void shownChanged(bool shown);

  private:
    void CloseWindows();
    void ShowShortInfo();
    void RefreshShortInfo();
    void DrawPage(int page);
    void SetShown(bool shown);
    void Text(std::uint8_t window, int x, int y, int width, const QString& text);
    void Colours(std::uint8_t window, std::uint16_t a1, std::uint16_t b1, std::uint8_t blend0);

    IDeviceSet& card_;
    const CEventSlots& events_;
    Context context_;
    QTimer closeTimer_;    // 3001
    QTimer refreshTimer_;  // 3002
    bool shown_ = false;
    int pageOnScreen_ = -1;
    int scrollLine_ = 0;
};
