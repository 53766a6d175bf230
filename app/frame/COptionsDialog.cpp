#include "frame/COptionsDialog.h"

#include <QAbstractSpinBox>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>

#include "frame/FrameTexts.h"

namespace {

std::optional<int> WholeNumber(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    return ok ? std::optional<int>(value) : std::nullopt;
}

/// The offset edit with its spin buttons. The edit takes any text (OK checks
/// it); a step adds to the number typed and stays within -12 to 12.
class OffsetSpinBox : public QAbstractSpinBox {
  public:
    explicit OffsetSpinBox(QWidget* parent) : QAbstractSpinBox(parent) {
        setButtonSymbols(UpDownArrows);
        setAccelerated(false);
    }
    void stepBy(int steps) override {
        const int value = std::clamp(WholeNumber(text()).value_or(0) + steps,
                                     COptionsDialog::MinOffset, COptionsDialog::MaxOffset);
        lineEdit()->setText(QString::number(value));
    }
    QValidator::State validate(QString&, int&) const override { return QValidator::Acceptable; }
    void fixup(QString&) const override {}
    QSize sizeHint() const override {
        QSize size = QAbstractSpinBox::sizeHint();
        size.setWidth(
            std::max(size.width(), fontMetrics().horizontalAdvance(QStringLiteral("-12")) * 3));
        return size;
    }

  protected:
    StepEnabled stepEnabled() const override {
        const auto value = WholeNumber(text());
        if (!value) return StepUpEnabled | StepDownEnabled;
        StepEnabled enabled = StepNone;
        if (*value < COptionsDialog::MaxOffset) enabled |= StepUpEnabled;
        if (*value > COptionsDialog::MinOffset) enabled |= StepDownEnabled;
        return enabled;
    }
};

}  // namespace

COptionsDialog::COptionsDialog(CAppOptions& options, QWidget* parent)
    : QDialog(parent), options_(options) {
    setWindowTitle(FrameTexts::OptionsTitle);
    auto* layout = new QVBoxLayout(this);

    auto* display = new QGroupBox(FrameTexts::OptionsDisplayBox, this);
    auto* displayLayout = new QVBoxLayout(display);
    pidDecimal_ = new QRadioButton(FrameTexts::PidDecimal, display);
    pidHex_ = new QRadioButton(FrameTexts::PidHex, display);
    fadeOutOff_ = new QCheckBox(FrameTexts::FadeOutOff, display);
    displayLayout->addWidget(pidDecimal_);
    displayLayout->addWidget(pidHex_);
    displayLayout->addWidget(fadeOutOff_);
    layout->addWidget(display);

    auto* video = new QGroupBox(FrameTexts::OptionsVideoBox, this);
    auto* videoLayout = new QVBoxLayout(video);
    highLevel_ = new QRadioButton(FrameTexts::HighLevelApi, video);
    lowLevel_ = new QRadioButton(FrameTexts::LowLevelApi, video);
    videoLayout->addWidget(highLevel_);
    videoLayout->addWidget(lowLevel_);
    layout->addWidget(video);

    auto* guide = new QGroupBox(FrameTexts::OptionsGuideBox, this);
    auto* guideLayout = new QHBoxLayout(guide);
    offset_ = new OffsetSpinBox(guide);
    offset_->setProperty("controlId", OffsetSpinId);
    OffsetEdit()->setProperty("controlId", OffsetEditId);
    auto* offsetLabel = new QLabel(FrameTexts::GuideOffset, guide);
    offsetLabel->setBuddy(offset_);
    guideLayout->addWidget(offsetLabel);
    guideLayout->addWidget(offset_);
    guideLayout->addStretch();
    layout->addWidget(guide);

    // Each pair is one choice of its own.
    for (auto [a, b] : {std::pair{pidDecimal_, pidHex_}, std::pair{highLevel_, lowLevel_}}) {
        auto* group = new QButtonGroup(this);
        group->addButton(a);
        group->addButton(b);
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(FrameTexts::ButtonOk);
    buttons->button(QDialogButtonBox::Cancel)->setText(FrameTexts::ButtonCancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &COptionsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &COptionsDialog::reject);
    layout->addWidget(buttons);

    (options_.pidHex ? pidHex_ : pidDecimal_)->setChecked(true);
    fadeOutOff_->setChecked(options_.fadeOutDisabled != 0);
    (options_.lowLevel ? lowLevel_ : highLevel_)->setChecked(true);
    OffsetEdit()->setText(QString::number(int(options_.guideHourOffset)));

    refuse_ = [this](const QString& text) {
        QMessageBox::warning(this, FrameTexts::OptionsTitle, text);
    };
}

QLineEdit* COptionsDialog::OffsetEdit() const { return offset_->findChild<QLineEdit*>(); }

void COptionsDialog::accept() {
    const auto offset = WholeNumber(OffsetEdit()->text());
    if (!offset || *offset < MinOffset || *offset > MaxOffset) {
        refuse_(FrameTexts::GuideOffsetRange);
        offset_->setFocus();
        offset_->selectAll();
        return;
    }
    options_.pidHex = pidHex_->isChecked() ? 1 : 0;
    options_.fadeOutDisabled = fadeOutOff_->isChecked() ? 1 : 0;
    options_.lowLevel = lowLevel_->isChecked() ? 1 : 0;
    options_.guideHourOffset = static_cast<std::int8_t>(*offset);
    QDialog::accept();
}
