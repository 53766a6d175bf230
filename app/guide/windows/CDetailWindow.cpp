#include "guide/windows/CDetailWindow.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "guide/CEPGInfo.h"
#include "guide/windows/GuideCells.h"
#include "guide/windows/GuideDetailText.h"
#include "guide/windows/GuideWindowTexts.h"

namespace T = GuideWindowTexts;
namespace C = GuideCells;

namespace {

QLabel* Value(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

}  // namespace

CDetailWindow::CDetailWindow(const CEPGInfo& record, QWidget* parent) : QDialog(parent) {
    setObjectName(T::DetailTitle);
    setWindowTitle(T::DetailTitle);
    auto* box = new QGroupBox(QString::fromStdString(record.EventName), this);
    auto* form = new QFormLayout(box);
    form->addRow(T::DetailService, Value(QString::fromStdString(record.ServiceName), box));
    form->addRow(T::DetailStart, Value(C::DetailStart(record.Start), box));
    form->addRow(T::DetailDuration, Value(C::Duration(record), box));
    form->addRow(T::DetailShortText, Value(QString::fromStdString(record.ShortText), box));
    form->addRow(T::DetailRating, Value(C::DetailRating(record.ParentalRating), box));
    description_ = new QPlainTextEdit(box);
    description_->setReadOnly(true);
    // Qt shows plain line feeds; the text itself is built with "\r\n".
    description_->setPlainText(QString::fromStdString(GuideDetailText::Text(record))
                                   .replace(QStringLiteral("\r\n"), "\n"));
    description_->setMinimumHeight(200);
    form->addRow(T::DetailDescription, description_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setText(T::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addWidget(buttons);
    resize(520, 440);
}
