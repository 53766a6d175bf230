#include <gtest/gtest.h>

#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <vector>

#include "Allgemein/CGfxListCtrl.h"
#include "DemoProgram.h"
#include "QStringPrinter.h"
#include "channellist/dialogs/CStreamsDialog.h"
#include "channellist/dialogs/StreamTexts.h"
#include "common/PrivateMessages.h"

namespace {

using D = CStreamsDialog;

CStreaminfo Stream(std::uint16_t type, std::uint16_t pid, ByteBlock descriptors = {}) {
    CStreaminfo s;
    s.StreamType = type;
    s.Pid = pid;
    s.Descriptors = std::move(descriptors);
    return s;
}

// Collects the private messages 1235 that reach the view.
class ViewStub : public QObject {
  public:
    std::vector<std::pair<qintptr, qintptr>> received;
    bool event(QEvent* e) override {
        if (!PrivateMessageEvent::IsPrivate(e)) return QObject::event(e);
        auto* m = static_cast<PrivateMessageEvent*>(e);
        if (m->number() == Msg::ViewRequest) received.emplace_back(m->wParam(), m->lParam());
        return true;
    }
};

class StreamsDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        store = std::make_unique<QSettings>(dir.filePath("layout.ini"), QSettings::IniFormat);
        program.Streams = {
            Stream(2, 0x1FF),  Stream(3, 0x200, {0x0A, 0x04, 'd', 'e', 'u', 0x01}),
            Stream(4, 0x201),  Stream(6, 0x202),
            Stream(27, 0x203), Stream(0x81, 65535, {'a', '1', '2', ' ', 0x80, 0x00})};
    }
    std::unique_ptr<CStreamsDialog> Open(bool hex, StreamSwitch sw = {}) {
        return std::make_unique<CStreamsDialog>(program, DialogOptions{hex, true}, std::move(sw),
                                                nullptr, store.get());
    }

    QTemporaryDir dir;
    std::unique_ptr<QSettings> store;
    CProgramInfo program;
};

}  // namespace

TEST_F(StreamsDialogTest, RowTextsInDecimalAndHex) {
    struct Row {
        const char* type;
        const char* pidDec;
        const char* pidHex;
        const char* descriptor;
    };
    const Row rows[] = {
        {"Video", "511", "01FF", ""},
        {"Audio", "512", "0200", "  deu "},
        {"Audio", "513", "0201", ""},
        {"Teletext", "514", "0202", ""},
        {"27", "515", "0203", ""},
        {"129", "65535", "FFFF", "a 2 € "},  // '1' is below 50, '2' is not
    };
    for (bool hex : {false, true}) {
        auto d = Open(hex);
        EXPECT_EQ(d->windowTitle(), "Streams");
        EXPECT_EQ(d->findChild<QLineEdit*>(QString::number(D::IdStreamCount))->text(), "6");
        EXPECT_EQ(d->StreamList()->Model()->rowCount(), 6);
        for (int r = 0; r < 6; ++r) {
            SCOPED_TRACE(r);
            const Row& row = rows[r];
            EXPECT_EQ(d->CellText(r, D::ColNumber), QString::number(r + 1));
            EXPECT_EQ(d->CellText(r, D::ColType), row.type);
            EXPECT_EQ(d->CellText(r, D::ColPid), hex ? row.pidHex : row.pidDec);
            EXPECT_EQ(d->CellText(r, D::ColDescriptor), QString::fromUtf8(row.descriptor));
        }
        EXPECT_EQ(d->CellText(6, D::ColNumber), "");  // past the end
    }
}

TEST_F(StreamsDialogTest, ColumnsOfTheStreamList) {
    auto d = Open(false);
    CGfxListCtrl* list = d->StreamList();
    EXPECT_EQ(list->ListName(), "TheStreamList");
    const auto& cols = list->Model()->Columns();
    ASSERT_EQ(cols.size(), 5u);
    const char* texts[] = {"", "Nr", "Streamtype", "PID", "Decriptor"};
    for (std::size_t i = 0; i < cols.size(); ++i) EXPECT_EQ(cols[i].text, texts[i]);
}

TEST_F(StreamsDialogTest, LanguageTextOfAStream) {
    EXPECT_EQ(StreamTexts::Language(program.Streams[1]), "deu");
    EXPECT_EQ(StreamTexts::Language(program.Streams[2]), "keine Info");
}

TEST_F(StreamsDialogTest, DoubleClickSwitchesVideoAndAudioOfSelectedRows) {
    ViewStub view;
    PrivateMessages::Register(Msg::ViewRequest, &view);
    std::vector<std::uint16_t> video;
    std::vector<std::uint16_t> audio;
    auto d = Open(false, {[&](std::uint16_t p) { video.push_back(p); },
                          [&](std::uint16_t p) { audio.push_back(p); }});
    d->StreamList()->SelectItems({0, 1, 2, 3, 4});
    d->SwitchToSelectedStreams();
    QCoreApplication::sendPostedEvents(&view);
    PrivateMessages::Register(Msg::ViewRequest, nullptr);

    EXPECT_EQ(video, (std::vector<std::uint16_t>{0x1FF}));
    EXPECT_EQ(audio, (std::vector<std::uint16_t>{0x200, 0x201}));
    const std::vector<std::pair<qintptr, qintptr>> told = {{1, 0x200}, {1, 0x201}};
    EXPECT_EQ(view.received, told);
}

TEST_F(StreamsDialogTest, RealDoubleClickOnARow) {
    std::vector<std::uint16_t> audio;
    auto d = Open(false, {nullptr, [&](std::uint16_t p) { audio.push_back(p); }});
    d->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(d.get()));
    CGfxListCtrl* list = d->StreamList();
    const QRect rect = list->visualRect(list->Model()->IndexOfItem(1).siblingAtColumn(1));
    ASSERT_TRUE(rect.isValid());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    EXPECT_EQ(audio, (std::vector<std::uint16_t>{0x200}));
}

TEST_F(StreamsDialogTest, NothingHappensForOtherTypesAndTheProgramStaysUnchanged) {
    const CProgramInfo before = program;
    int calls = 0;
    auto d = Open(true, {[&](std::uint16_t) { ++calls; }, [&](std::uint16_t) { ++calls; }});
    d->StreamList()->SelectItems({3, 4, 5});
    d->SwitchToSelectedStreams();
    EXPECT_EQ(calls, 0);
    d->accept();
    EXPECT_EQ(program, before);
}

TEST_F(StreamsDialogTest, ColumnLayoutIsKeptUnderTheListName) {
    Open(false)->accept();
    store->sync();
    EXPECT_EQ(store->value("GfxLists/TheStreamList/NumDef").toInt(), 5);
}
