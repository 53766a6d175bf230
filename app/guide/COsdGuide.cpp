#include "guide/COsdGuide.h"

#include <QLocale>

#include "channellist/ArchiveDateTime.h"
#include "common/CommandIds.h"
#include "guide/CEventSlots.h"
#include "guide/GuideTexts.h"
#include "guide/WordWrap.h"
#include "receiver/IDeviceSet.h"

namespace {

// The card's font is 12 pixels wide and 24 high.
constexpr int kCharWidth = 12, kLineHeight = 24;
constexpr int kPalette = 2;
// The short information: the clock and program (1), the start times (2)
// and the names (3) of the present and the following event.
constexpr std::uint8_t kHeadWindow = 1, kTimeWindow = 2, kNameWindow = 3, kPageWindow = 4;
constexpr int kHeadWidth = 650, kHeadHeight = 35, kTimeWidth = 120, kNameWidth = 535,
              kTwoLines = 70;
// A full page: the heading in window 1 above the body in window 4.
constexpr int kPageWidth = 650, kPageHeight = 295, kPageTop = 200;
constexpr int kPageChars = 44;

QLocale German() { return QLocale(QLocale::German, QLocale::Germany); }

QString Clock(const ArchiveDateTime& t) {
    const auto civil = t.ToCivil();
    if (!civil) return {};
    return QStringLiteral("%1:%2")
        .arg(civil->hour, 2, 10, QLatin1Char('0'))
        .arg(civil->minute, 2, 10, QLatin1Char('0'));
}

// The card draws ISO 8859-1; a character beyond it shows as '?'.
std::string OsdBytes(const QString& text) { return text.toLatin1().toStdString(); }

}  // namespace

COsdGuide::COsdGuide(IDeviceSet& card, const CEventSlots& events, Context context, QObject* parent)
    : QObject(parent), card_(card), events_(events), context_(std::move(context)) {
    closeTimer_.setSingleShot(true);
    closeTimer_.setInterval(TimerId::GuideCloseMs);
    closeTimer_.setProperty("timerId", TimerId::GuideClose);
    connect(&closeTimer_, &QTimer::timeout, this, [this] { Request(true, false, Close); });
    refreshTimer_.setInterval(TimerId::GuideRefreshPeriodMs);
    refreshTimer_.setProperty("timerId", TimerId::GuideRefresh);
    connect(&refreshTimer_, &QTimer::timeout, this, &COsdGuide::RefreshShortInfo);
}

COsdGuide::~COsdGuide() = default;

void COsdGuide::SetShown(bool shown) {
    if (shown_ == shown) return;
    shown_ = shown;
    emit shownChanged(shown);
}

void COsdGuide::CloseWindows() {
    closeTimer_.stop();
    refreshTimer_.stop();
    for (std::uint8_t w = kHeadWindow; w <= kPageWindow; ++w) card_.DestroyOSDWindow(w);
    pageOnScreen_ = -1;
}

void COsdGuide::Request(bool show, bool scroll, int page) {
    if (!show || page == Close) {
        SetShown(false);
        CloseWindows();
    } else if (page == ShortInfo) {
        SetShown(false);
        ShowShortInfo();
    } else if (page == Present || page == Following) {
        if (!scroll) {
            scrollLine_ = 0;
            CloseWindows();
        }
        DrawPage(page);
    }
}

void COsdGuide::PageMessage(int code) {
    switch (code) {
        case 1:
            return Request(true, false, ShortInfo);
        case 2:
            return Request(true, false, Present);
        case 3:
            return Request(true, false, Following);
        case 4:
            return Request(true, false, Close);
        default:
            return;
    }
}

void COsdGuide::ShowPage(int page) {
    Request(true, false, page);
    SetShown(true);
}

void COsdGuide::Toggle(int page) {
    if (shown_)
        Request(false, false, Close);
    else
        ShowPage(page);
}

void COsdGuide::Scroll(int delta) {
    if (!shown_ || pageOnScreen_ < 0) return;
    const int line = scrollLine_ + delta;
    if (line < 0) {
        scrollLine_ = 0;
        return;
    }
    scrollLine_ = line;
    Request(true, true, pageOnScreen_);
}

void COsdGuide::Text(std::uint8_t window, int x, int y, int width, const QString& text) {
    const int chars = std::clamp((width - x) / kCharWidth, 1, 255);
    card_.WriteText(window, std::uint16_t(x), std::uint16_t(y), std::uint8_t(chars),
                    OsdBytes(text.left(chars)));
}

void COsdGuide::Colours(std::uint8_t window, std::uint16_t a1, std::uint16_t b1,
                        std::uint8_t blend0) {
    card_.SetColor(window, kPalette, 0, 255, 0);
    card_.SetColor(window, kPalette, 1, a1, b1);
    card_.SetBlend(window, kPalette, 0, blend0);
    card_.SetBlend(window, kPalette, 1, 15);
    card_.SetColorBlend(window);
}

void COsdGuide::ShowShortInfo() {
    CloseWindows();
    card_.CreateOSDWindow(kHeadWindow, 0, kHeadWidth, kHeadHeight);
    card_.CreateOSDWindow(kTimeWindow, 0, kTimeWidth, kTwoLines);
    card_.CreateOSDWindow(kNameWindow, 0, kNameWidth, kTwoLines);
    const QTime now = context_.now ? context_.now() : QTime::currentTime();
    const int index = context_.tunedIndex ? context_.tunedIndex() : -1;
    const QString name = context_.tunedName ? context_.tunedName() : QString();
    Text(kHeadWindow, 35, 0, kHeadWidth,
         QStringLiteral("%1:%2 [%3] %4")
             .arg(now.hour(), 2, 10, QLatin1Char('0'))
             .arg(now.minute(), 2, 10, QLatin1Char('0'))
             .arg(index + 1)
             .arg(name));
    Colours(kHeadWindow, 64, 0xEB80, 3);
    Colours(kTimeWindow, 52, 0xF30B, 3);
    Colours(kNameWindow, 128, 0xFF80, 8);
    card_.MoveWindowAbs(kHeadWindow, 35, 450);
    card_.MoveWindowAbs(kTimeWindow, 35, 485);
    card_.MoveWindowAbs(kNameWindow, 150, 485);
    for (std::uint8_t w = kHeadWindow; w <= kNameWindow; ++w) card_.BringToTop(w);
    RefreshShortInfo();
    closeTimer_.start();
    refreshTimer_.start();
}

void COsdGuide::RefreshShortInfo() {
    for (int slot = CEventSlots::kPresent; slot <= CEventSlots::kFollowing; ++slot) {
        const EventSlot& event = events_.Slot(slot);
        if (!event.valid) continue;
        const int y = slot * 35;
        Text(kTimeWindow, 35, y, kTimeWidth, Clock(event.start));
        Text(kNameWindow, 5, y, kNameWidth, QString::fromStdString(event.name));
    }
}

QString COsdGuide::PageHeading(const EventSlot& slot) {
    const auto civil = slot.start.ToCivil();
    if (!civil) return {};
    const QDate date(civil->year, civil->month, civil->day);
    const int minutes = int(slot.duration.days * 1440.0 + 0.5);
    return QStringLiteral("%1 %2, (%3 Min)")
        .arg(German().toString(date, GuideTexts::PageDate), Clock(slot.start))
        .arg(minutes);
}

std::vector<std::string> COsdGuide::PageLines(const EventSlot& slot) {
    std::vector<std::string> lines;
    std::string name = slot.name;
    if (slot.parentalRating != 0) name += " (FSK" + std::to_string(slot.parentalRating + 3) + ")";
    lines.push_back(name);
    std::string texts = slot.text;
    if (!slot.extendedText.empty()) texts += (texts.empty() ? "" : "\n") + slot.extendedText;
    for (std::string& line : WrapWords(texts, kPageChars)) lines.push_back(std::move(line));
    return lines;
}

void COsdGuide::DrawPage(int page) {
    pageOnScreen_ = page;
    card_.DestroyOSDWindow(kHeadWindow);
    card_.DestroyOSDWindow(kPageWindow);
    card_.CreateOSDWindow(kPageWindow, 0, kPageWidth, kPageHeight);
    card_.CreateOSDWindow(kHeadWindow, 0, kHeadWidth, kHeadHeight);
    const EventSlot& event = events_.Slot(page);
    if (!event.valid) {
        Text(kHeadWindow, 15, 0, kHeadWidth, GuideTexts::NoInformation);
    } else {
        Text(kHeadWindow, 15, 0, kHeadWidth, PageHeading(event).left(kPageChars));
        const std::vector<std::string> lines = PageLines(event);
        // The name stays at the top; the texts below it scroll.
        Text(kPageWindow, 15, 4, kPageWidth, QString::fromStdString(lines.front()));
        int y = 4 + kLineHeight;
        for (std::size_t i = 1 + std::size_t(scrollLine_);
             i < lines.size() && y + kLineHeight <= kPageHeight; ++i, y += kLineHeight)
            Text(kPageWindow, 15, y, kPageWidth, QString::fromStdString(lines[i]));
    }
    Colours(kHeadWindow, 64, 0xEB80, 3);
    Colours(kPageWindow, 128, 0xFF80, 8);
    card_.MoveWindowAbs(kHeadWindow, 35, kPageTop - kHeadHeight);
    card_.MoveWindowAbs(kPageWindow, 35, kPageTop);
    card_.BringToTop(kPageWindow);
    card_.BringToTop(kHeadWindow);
}
