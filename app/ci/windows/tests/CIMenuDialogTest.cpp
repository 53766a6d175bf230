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

}  // namespace

struct Sent {
    std::vector<Bytes> keys;
    CCIMenuDialog* Make(QWidget* parent) {
        return new CCIMenuDialog([this](const Bytes& k) { keys.push_back(k); }, parent);
    }
};

// Rows, keys and inputs are the shell's binding tests' (tests/CiBindingTest.cpp);
// here what the dialog does on its own.
TEST(CIMenuDialogTest, TextsShortMessagesAndHiding) {
    QWidget parent;
    Sent sent;
    CCIMenuDialog* d = sent.Make(&parent);
    EXPECT_EQ(d->windowTitle(), QStringLiteral("CI-Menü"));
    EXPECT_EQ(d->CloseButton()->text(), QStringLiteral("Schließen"));
    d->ShowWaiting(2);
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(Rows(*d->List()), QStringList{"Warte auf CAM-Antwort Slot 2..."});
    d->ShowModuleText(Message(2, {"Demo-CAM", "Hauptmen\xFC", "Auswahl", "Info"}));
    EXPECT_EQ(Rows(*d->List()),
              (QStringList{"Demo-CAM", "", "Hauptmenü", "", "1. Info", "", "Auswahl"}));
    d->ShowModuleText(Bytes{4, 0, 0});  // too short: the rows stay
    EXPECT_EQ(d->List()->count(), 7);
    d->SetInputRequest(true, 4);
    EXPECT_EQ(d->AnswerField()->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr,
                                                   d->AnswerField()),
              int('*'));
    d->KeyField()->setText(QStringLiteral("1 2 3 4 5 6 7 8 9"));
    QTest::mouseClick(d->KeyOk(), Qt::LeftButton);
    EXPECT_TRUE(sent.keys.empty());  // nine numbers: nothing

    QTest::mouseClick(d->CloseButton(), Qt::LeftButton);
    EXPECT_FALSE(d->isVisible());
    d->ShowWaiting(1);
    d->SwitchOff();
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(d->List()->count(), 0);
}
