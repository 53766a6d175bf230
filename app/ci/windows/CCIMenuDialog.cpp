#include "ci/windows/CCIMenuDialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProxyStyle>
#include <QPushButton>
#include <QVBoxLayout>

#include "ci/windows/CiWindowTexts.h"

namespace {

// A blind answer shows every typed character as '*', whatever the desktop's style.
class CStarPasswordStyle : public QProxyStyle {
  public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* ret) const override {
        if (hint == SH_LineEdit_PasswordCharacter) return '*';
        return QProxyStyle::styleHint(hint, option, widget, ret);
    }
};

// 221 x 197 dialog units of the 8-point dialog font.
constexpr int kWidth = 332, kHeight = 320;
// The answer field without a request: as long as a line edit takes.
constexpr int kNoLimit = 32767;

}  // namespace

CCIMenuDialog::CCIMenuDialog(SendKeys sendKeys, QWidget* parent)
    : QDialog(parent), sendKeys_(std::move(sendKeys)) {
    setWindowTitle(CiWindowTexts::Title);
    setModal(false);
    BuildControls();
    resize(kWidth, kHeight);
}

void CCIMenuDialog::BuildControls() {
    auto* group = new QGroupBox(CiWindowTexts::Group, this);
    list_ = new QListWidget(group);
    list_->setObjectName(QStringLiteral("list1052"));
    (new QVBoxLayout(group))->addWidget(list_);

    auto* fields = new QGridLayout;
    answer_ = new QLineEdit(this);
    answer_->setObjectName(QStringLiteral("edit1180"));
    auto* style = new CStarPasswordStyle;
    style->setParent(this);
    answer_->setStyle(style);
    answerOk_ = new QPushButton(CiWindowTexts::Ok, this);
    keys_ = new QLineEdit(this);
    keys_->setObjectName(QStringLiteral("edit1184"));
    keysOk_ = new QPushButton(CiWindowTexts::Ok, this);
    fields->addWidget(new QLabel(CiWindowTexts::Answer, this), 0, 0);
    fields->addWidget(answer_, 0, 1);
    fields->addWidget(answerOk_, 0, 2);
    fields->addWidget(new QLabel(CiWindowTexts::KeyInput, this), 1, 0);
    fields->addWidget(keys_, 1, 1);
    fields->addWidget(keysOk_, 1, 2);

    close_ = new QPushButton(CiWindowTexts::Close, this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group, 1);
    layout->addLayout(fields);
    layout->addWidget(close_, 0, Qt::AlignRight);

    connect(list_, &QListWidget::itemDoubleClicked, this, &CCIMenuDialog::RowDoubleClicked);
    connect(answerOk_, &QPushButton::clicked, this, &CCIMenuDialog::SendAnswer);
    connect(keysOk_, &QPushButton::clicked, this, &CCIMenuDialog::SendKeyInput);
    connect(close_, &QPushButton::clicked, this, &QWidget::hide);
    answerOk_->setAutoDefault(false);
    keysOk_->setAutoDefault(false);
    close_->setAutoDefault(false);
}

void CCIMenuDialog::ShowWaiting(int slot) {
    show();
    raise();
    SetRows({{CiWindowTexts::Waiting(slot).toStdString(), 0}});
}

void CCIMenuDialog::ShowModuleText(std::span<const std::uint8_t> message) {
    if (auto rows = CiMenu::Rows(message)) SetRows(std::move(*rows));
}

void CCIMenuDialog::SwitchOff() {
    SetRows({});
    hide();
}

void CCIMenuDialog::SetInputRequest(bool blind, int answerLength) {
    blind_ = blind;
    answerLength_ = answerLength;
    answer_->setMaxLength(answerLength > 0 ? answerLength : kNoLimit);
    answer_->setEchoMode(blind ? QLineEdit::Password : QLineEdit::Normal);
}

void CCIMenuDialog::SetRows(std::vector<CiMenuRow> rows) {
    rows_ = std::move(rows);
    list_->clear();
    for (const CiMenuRow& row : rows_) {
        auto* item = new QListWidgetItem(QString::fromStdString(row.text), list_);
        item->setData(Qt::UserRole, row.data);
    }
}

void CCIMenuDialog::RowDoubleClicked() {
    const QList<QListWidgetItem*> selected = list_->selectedItems();
    const int row = selected.isEmpty() ? -1 : list_->row(selected.front());
    if (const auto key = CiMenu::KeyForRow(rows_, row)) Send({*key});
}

void CCIMenuDialog::SendAnswer() {
    Send(CiMenu::AnswerKeys(answer_->text().toStdString(), answerLength_));
}

void CCIMenuDialog::SendKeyInput() {
    if (const auto keys = CiMenu::KeyInputKeys(keys_->text().toStdString(), answerLength_))
        Send(*keys);
}

void CCIMenuDialog::Send(const std::vector<std::uint8_t>& keys) {
    if (sendKeys_ && !keys.empty()) sendKeys_(keys);
}
