// The window against a picture memory of its own: a writer in the test
// publishes a pattern under a unique instance name, the window shows it where
// MoveTo put it, and its clicks and keys reach a main window as messages.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QImage>
#include <QMainWindow>
#include <QScreen>
#include <QTest>
#include <vector>

#include "kestrel/protocol/PictureMemory.h"
#include "videodisplay/CVideoDisplay.h"
#include "videodisplay/CVideoWindow.h"
#include "videodisplay/VideoMessages.h"

namespace kp = kestrel::protocol;

namespace {

constexpr QRgb kRed = 0xFFC03020, kGreen = 0xFF20C030, kBlue = 0xFF3020C0, kGrey = 0xFF808080;
constexpr int kW = int(kp::kPictureWidth), kH = int(kp::kPictureHeight);

/// Quadrants: red top left, green top right, blue bottom left, grey bottom right.
std::vector<std::uint32_t> Quadrants() {
    std::vector<std::uint32_t> p(std::size_t(kW) * kH);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            p[std::size_t(y) * kW + x] =
                y < kH / 2 ? (x < kW / 2 ? kRed : kGreen) : (x < kW / 2 ? kBlue : kGrey);
    return p;
}

bool Near(QRgb a, QRgb b, int tolerance = 6) {
    return std::abs(qRed(a) - qRed(b)) <= tolerance &&
           std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

/// Whether the shot shows the quadrants at the centres of its own quarters.
bool HasQuadrants(const QImage& shot, bool mirrored) {
    const int x0 = shot.width() / 4, x1 = shot.width() * 3 / 4;
    const int y0 = shot.height() / 4, y1 = shot.height() * 3 / 4;
    const auto left = mirrored ? x1 : x0, right = mirrored ? x0 : x1;
    return Near(shot.pixel(left, y0), kRed) && Near(shot.pixel(right, y0), kGreen) &&
           Near(shot.pixel(left, y1), kBlue) && Near(shot.pixel(right, y1), kGrey);
}

/// Records the registered messages a main window receives.
class RecordingFrame : public QMainWindow {
  public:
    struct Got {
        unsigned number;
        qintptr w, l;
    };
    std::vector<Got> got;

  protected:
    bool event(QEvent* e) override {
        if (auto* m = dynamic_cast<VideoMessages::Event*>(e)) {
            got.push_back({m->number(), m->wParam(), m->lParam()});
            return true;
        }
        return QMainWindow::event(e);
    }
};

class VideoDisplayTest : public ::testing::Test {
  protected:
    void SetUp() override {
        static int count = 0;
        const QByteArray instance =
            "vd" + QByteArray::number(getpid()) + "_" + QByteArray::number(++count);
        qputenv(kp::kInstanceVariable, instance);
        ASSERT_TRUE(writer_.Create(kp::PictureMemoryName()));
        Publish(Quadrants());
    }
    void TearDown() override {
        display_.Close();
        writer_.Close();
        qunsetenv(kp::kInstanceVariable);
    }

    void Publish(const std::vector<std::uint32_t>& pixels) {
        writer_.Publish(pixels.data(), std::size_t(kW) * 4, {720, 576, 2, kp::kPictureDecoded});
    }
    /// The windowed order of calls of the program: Open, EnableVideo, UnHide, MoveTo.
    CVideoWindow* OpenAt(const QRect& r) {
        display_.Open("-fbrd");
        display_.EnableVideo(1);
        display_.UnHide();
        display_.MoveTo(std::uint16_t(r.x()), std::uint16_t(r.y()), std::uint16_t(r.width()),
                        std::uint16_t(r.height()), 1);
        return display_.Window();
    }
    QImage Shot() const { return display_.Window()->grab().toImage(); }
    /// Whether the window's pixel at `probe` becomes `colour` within `ms`.
    bool Shows(QPoint probe, QRgb colour, int ms = 5000) const {
        return QTest::qWaitFor([&] { return Near(Shot().pixel(probe), colour); }, ms);
    }

    kp::PictureWriter writer_;
    CVideoDisplay display_;
};

}  // namespace

TEST_F(VideoDisplayTest, TheFrameFillsTheMoveToRectangleScaledAndMirrored) {
    CVideoWindow* w = OpenAt({40, 30, 360, 288});
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->geometry(), QRect(40, 30, 360, 288));
    ASSERT_TRUE(Shows({90, 72}, kRed));
    ASSERT_EQ(Shot().size(), QSize(360, 288));
    EXPECT_TRUE(HasQuadrants(Shot(), false)) << "the whole frame in half its size";
    EXPECT_GE(w->FramesShown(), 1u);

    const unsigned ctrl = VideoMessages::Register(VideoMessages::CtrlVideo);
    VideoMessages::Broadcast(ctrl, 0, VideoMessages::CtrlMirror);
    ASSERT_TRUE(Shows({90, 72}, kGreen));
    EXPECT_TRUE(HasQuadrants(Shot(), true));
    display_.Close();  // the mirror survives the change of window
    w = OpenAt({0, 0, 200, 100});
    EXPECT_EQ(w->geometry(), QRect(0, 0, 200, 100));
    EXPECT_TRUE(Shows({50, 25}, kGreen));
    VideoMessages::Broadcast(ctrl, 0, VideoMessages::CtrlNormal);
    EXPECT_TRUE(Shows({50, 25}, kRed));
    EXPECT_TRUE(HasQuadrants(Shot(), false));
}

TEST_F(VideoDisplayTest, NewFramesAreShownAndCountedAMissingMemoryIsBlack) {
    CVideoWindow* w = OpenAt({0, 0, 180, 144});
    ASSERT_TRUE(Shows({45, 36}, kRed));
    const std::uint64_t before = w->FramesShown();
    Publish(std::vector<std::uint32_t>(std::size_t(kW) * kH, 0xFFFFFFFF));
    EXPECT_TRUE(Shows({45, 36}, 0xFFFFFFFF));
    EXPECT_GT(w->FramesShown(), before);

    writer_.Close();  // the card went away: black after the next retry (a second)
    EXPECT_TRUE(Shows({45, 36}, 0xFF000000));
    ASSERT_TRUE(writer_.Create(kp::PictureMemoryName()));  // and it is back
    Publish(Quadrants());
    EXPECT_TRUE(Shows({45, 36}, kRed));
    writer_.Close();  // a card started anew has no frame yet: black, not the old one
    ASSERT_TRUE(writer_.Create(kp::PictureMemoryName()));
    EXPECT_TRUE(Shows({45, 36}, 0xFF000000));
}

TEST_F(VideoDisplayTest, SetBcsAndEnableVideoChangeTheShownPicture) {
    OpenAt({0, 0, 360, 288});
    ASSERT_TRUE(Shows({270, 216}, kGrey));
    display_.SetBCS(240, 160, 200);
    EXPECT_TRUE(Shows({270, 216}, 0xFFC6C6C6)) << "128 + 70";
    display_.SetBCS(170, 160, 0);
    ASSERT_TRUE(Shows({270, 216}, kGrey));
    const QRgb red = Shot().pixel(90, 72);
    EXPECT_EQ(qRed(red), qGreen(red)) << "no saturation turns red grey";
    EXPECT_EQ(qGreen(red), qBlue(red));

    display_.SetBCS(170, 160, 200);
    display_.EnableVideo(0);
    EXPECT_TRUE(Shows({90, 72}, 0xFF000000));
    display_.Close();  // the program's order when the picture goes away
    display_.EnableVideo(0);
    display_.Open("-fbrd");  // the picture comes back with the next EnableVideo(1) only
    EXPECT_FALSE(display_.Window()->IsVideoOn());
    display_.EnableVideo(1);
    display_.UnHide();
    display_.MoveTo(0, 0, 360, 288, 1);
    EXPECT_TRUE(Shows({90, 72}, kRed));
}

TEST_F(VideoDisplayTest, ClicksAndKeysReachTheFrameWithTheirNumbers) {
    RecordingFrame first, handed;
    first.show();
    CVideoWindow* w = OpenAt({0, 0, 360, 288});
    EXPECT_EQ(w->Frame(), &first) << "before UM_DVBAPP_HWND: the first visible main window";

    QTest::mouseClick(w, Qt::RightButton, {}, QPoint(30, 40));
    QCoreApplication::sendPostedEvents();
    ASSERT_EQ(first.got.size(), 1u);
    EXPECT_EQ(first.got[0].number, display_.GetMessageValue(3));
    EXPECT_EQ(first.got[0].l, 30 | 40 << 16);

    // The handed widget's top-level window is the frame from now on, also
    // for the next window.
    QWidget* inside = new QWidget(&handed);
    VideoMessages::Send(VideoMessages::FindWindow(VideoMessages::WindowTitle),
                        VideoMessages::Register(VideoMessages::Hwnd), 0, qintptr(inside));
    display_.Close();
    w = OpenAt({0, 0, 360, 288});
    EXPECT_EQ(w->Frame(), &handed);
    QTest::mouseClick(w, Qt::MiddleButton, {}, QPoint(300, 250));
    QTest::mouseDClick(w, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::keyClick(w, Qt::Key_7);
    QTest::keyClick(w, Qt::Key_9);  // no guide key
    QTest::keyClick(w, Qt::Key_Plus);
    QCoreApplication::sendPostedEvents();
    ASSERT_EQ(handed.got.size(), 4u);
    EXPECT_EQ(handed.got[0].number, display_.GetMessageValue(4));
    EXPECT_EQ(handed.got[0].l, 300 | 250 << 16);
    EXPECT_EQ(handed.got[1].number, display_.GetMessageValue(2));
    EXPECT_EQ(handed.got[2].number, display_.GetMessageValue(5));
    EXPECT_EQ(handed.got[2].w, 7);
    EXPECT_EQ(handed.got[2].l, 7);
    EXPECT_EQ(handed.got[3].w, 3) << "'+' is the next program";
    EXPECT_EQ(first.got.size(), 1u);
}

TEST_F(VideoDisplayTest, OpenCloseModesAndStableNumbers) {
    display_.Close();  // nothing open: harmless
    EXPECT_EQ(VideoMessages::FindWindow(VideoMessages::WindowTitle), nullptr);
    EXPECT_EQ(display_.Open("-fbrd"), 0u);
    CVideoWindow* w = display_.Window();
    EXPECT_EQ(VideoMessages::FindWindow(VideoMessages::WindowTitle), w);
    EXPECT_FALSE(w->isVisible()) << "windowed: shown by UnHide";
    EXPECT_TRUE(w->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(w->windowType(), Qt::Tool);
    display_.Open("-fbrd");
    EXPECT_EQ(display_.Window(), w) << "the same mode keeps its window";
    display_.Close();
    display_.Close();
    EXPECT_EQ(display_.Window(), nullptr);
    EXPECT_EQ(VideoMessages::FindWindow(VideoMessages::WindowTitle), nullptr);

    display_.Open("-nore");
    w = display_.Window();
    EXPECT_TRUE(w->isVisible()) << "full screen: shown at once";
    EXPECT_EQ(w->geometry(), QGuiApplication::primaryScreen()->geometry());
    EXPECT_TRUE(w->windowFlags() & Qt::WindowStaysOnTopHint);
    display_.MoveTo(16, 12, 784, 574, 1);
    EXPECT_EQ(w->geometry(), QRect(16, 12, 784, 574));

    const unsigned hwnd = VideoMessages::Register(VideoMessages::Hwnd);
    EXPECT_EQ(VideoMessages::Register(QStringLiteral("UM_DVBAPP_HWND")), hwnd);
    EXPECT_NE(VideoMessages::Register(VideoMessages::Top), hwnd);
    std::vector<unsigned> numbers;
    for (int i = 0; i < 6; ++i) {
        numbers.push_back(display_.GetMessageValue(i));
        EXPECT_GT(numbers.back(), unsigned(QEvent::User) + 1241) << "clear of the fixed messages";
        EXPECT_EQ(CVideoDisplay().GetMessageValue(i), numbers.back());
    }
    std::sort(numbers.begin(), numbers.end());
    EXPECT_EQ(std::unique(numbers.begin(), numbers.end()), numbers.end());
    EXPECT_EQ(display_.GetMessageValue(6), 0u);
    EXPECT_EQ(display_.GetMessageValue(-1), 0u);
}
