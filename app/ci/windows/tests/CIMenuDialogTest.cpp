#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QTest>

#include "ci/windows/CCIMenuDialog.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Message(std::uint8_t type, const std::vector<std::string>& strings) {
    Bytes m = {type, 1, 0};
    for (const auto& s : strings) {
        m.insert(m.end(), s.begin(), s.end());
        m.push_back(0);
    }
    return m;
}

QStringList Rows(const QListWidget& list) {
    QStringList rows;
    for (int i = 0; i < list.count(); ++i) rows << list.item(i)->text();
    return rows;
}

void DoubleClick(QListWidget& list, int row) {
    // The view takes a double click on the row it was pressed on.
    const QPoint at = list.visualItemRect(list.item(row)).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
}

}  // namespace

struct Sent {
    std::vector<Bytes> keys;
    CCIMenuDialog* Make(QWidget* parent) {
        return new CCIMenuDialog([this](const Bytes& k) { keys.push_back(k); }, parent);
    }
};

TEST(CIMenuDialogTest, MenuRowsAndTheirKeys) {
    QWidget parent;
    Sent sent;
    CCIMenuDialog* d = sent.Make(&parent);
    EXPECT_EQ(d->windowTitle(), QStringLiteral("CI-Menü"));
    EXPECT_EQ(d->CloseButton()->text(), QStringLiteral("Schließen"));
    d->ShowWaiting(2);
    EXPECT_TRUE(d->isVisible());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(d));
    EXPECT_EQ(Rows(*d->List()), QStringList{"Warte auf CAM-Antwort Slot 2..."});
    d->ShowModuleText(Message(2, {"Demo-CAM", "Hauptmen\xFC", "Auswahl", "Info", "PIN"}));
    EXPECT_EQ(Rows(*d->List()),
              (QStringList{"Demo-CAM", "", "Hauptmenü", "", "1. Info", "2. PIN", "", "Auswahl"}));
    DoubleClick(*d->List(), 5);
    DoubleClick(*d->List(), 1);
    DoubleClick(*d->List(), 0);  // the title sends nothing
    EXPECT_EQ(sent.keys, (std::vector<Bytes>{{2}, {0}}));
    d->ShowModuleText(Bytes{4, 0, 0});  // too short: the rows stay
    EXPECT_EQ(d->List()->count(), 8);
}

TEST(CIMenuDialogTest, BlindAnswerOfFourDigits) {
    QWidget parent;
    Sent sent;
    CCIMenuDialog* d = sent.Make(&parent);
    d->ShowWaiting(1);
    d->SetInputRequest(true, 4);
    EXPECT_EQ(d->AnswerField()->echoMode(), QLineEdit::Password);
    EXPECT_EQ(d->AnswerField()->maxLength(), 4);
    EXPECT_EQ(d->AnswerField()->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr,
                                                   d->AnswerField()),
              int('*'));
    QTest::keyClicks(d->AnswerField(), "123456");
    EXPECT_EQ(d->AnswerField()->text(), QStringLiteral("1234"));
    EXPECT_EQ(d->AnswerField()->displayText(), QStringLiteral("****"));
    QTest::mouseClick(d->AnswerOk(), Qt::LeftButton);
    EXPECT_EQ(sent.keys, (std::vector<Bytes>{{1, 2, 3, 4}}));
    d->SetInputRequest(false, 1);
    EXPECT_EQ(d->AnswerField()->echoMode(), QLineEdit::Normal);
}

TEST(CIMenuDialogTest, KeyInputOfTenHexNumbers) {
    QWidget parent;
    Sent sent;
    CCIMenuDialog* d = sent.Make(&parent);
    d->ShowWaiting(1);
    d->SetInputRequest(false, 6);
    d->KeyField()->setText(QStringLiteral("1 2 3 4 5 6 7 8 9"));
    QTest::mouseClick(d->KeyOk(), Qt::LeftButton);
    EXPECT_TRUE(sent.keys.empty());  // nine numbers: nothing
    d->KeyField()->setText(QStringLiteral("1 2 3 4 5 6 7 8 9 a"));
    QTest::mouseClick(d->KeyOk(), Qt::LeftButton);
    EXPECT_EQ(sent.keys, (std::vector<Bytes>{{0, 0, 1, 0, 0, 2}}));
}

TEST(CIMenuDialogTest, CloseAndSwitchOffHide) {
    QWidget parent;
    Sent sent;
    CCIMenuDialog* d = sent.Make(&parent);
    d->ShowWaiting(1);
    QTest::mouseClick(d->CloseButton(), Qt::LeftButton);
    EXPECT_FALSE(d->isVisible());
    d->ShowWaiting(1);
    d->SwitchOff();
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(d->List()->count(), 0);
}
