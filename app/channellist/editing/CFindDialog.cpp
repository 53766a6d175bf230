#include "channellist/editing/CFindDialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

CFindDialog::CFindDialog(CListEditor& editor, QWidget* parent) : QDialog(parent), finder_(editor) {
    setWindowTitle(QStringLiteral("Suchen"));
    BuildLayout();
    connect(find_, &QPushButton::clicked, this, [this] { Search(true); });
    connect(findNext_, &QPushButton::clicked, this, [this] { Search(false); });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(text_, &QLineEdit::textChanged, this, [this](const QString& t) {
        find_->setEnabled(!t.isEmpty());
        findNext_->setEnabled(!t.isEmpty());
    });
    SetText(QString());
}

void CFindDialog::BuildLayout() {
    text_ = new QLineEdit;
    text_->setObjectName(QStringLiteral("findText"));
    auto* label = new QLabel(QStringLiteral("S&uchen nach:"));
    label->setBuddy(text_);
    auto* textRow = new QHBoxLayout;
    textRow->addWidget(label);
    textRow->addWidget(text_);

    matchCase_ = new QCheckBox(QStringLiteral("Groß/&Kleinschreibung beachten"));
    auto* direction = new QGroupBox(QStringLiteral("Richtung"));
    up_ = new QRadioButton(QStringLiteral("A&ufwärts"));
    down_ = new QRadioButton(QStringLiteral("A&bwärts"));
    down_->setChecked(true);
    auto* directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(up_);
    directionLayout->addWidget(down_);
    auto* options = new QHBoxLayout;
    options->addWidget(matchCase_, 0, Qt::AlignBottom);
    options->addWidget(direction);

    auto* left = new QVBoxLayout;
    left->addLayout(textRow);
    left->addLayout(options);

    find_ = new QPushButton(QStringLiteral("Suchen"));
    find_->setDefault(true);
    findNext_ = new QPushButton(QStringLiteral("&Weitersuchen"));
    cancel_ = new QPushButton(QStringLiteral("Abbrechen"));
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {find_, findNext_, cancel_}) buttons->addWidget(b);
    buttons->addStretch();

    auto* top = new QHBoxLayout(this);
    top->addLayout(left);
    top->addLayout(buttons);
}

void CFindDialog::Search(bool fromStart) {
    if (text_->text().isEmpty()) return;
    finder_.Find(text_->text(), MatchCase(), Direction(), fromStart);
}

QString CFindDialog::Text() const { return text_->text(); }
void CFindDialog::SetText(const QString& text) {
    text_->setText(text);
    find_->setEnabled(!text.isEmpty());
    findNext_->setEnabled(!text.isEmpty());
}
bool CFindDialog::MatchCase() const { return matchCase_->isChecked(); }
void CFindDialog::SetMatchCase(bool on) { matchCase_->setChecked(on); }
CProgramFinder::Direction CFindDialog::Direction() const {
    return up_->isChecked() ? CProgramFinder::Direction::Up : CProgramFinder::Direction::Down;
}
void CFindDialog::SetDirection(CProgramFinder::Direction direction) {
    (direction == CProgramFinder::Direction::Up ? up_ : down_)->setChecked(true);
}
