#include "Allgemein/CCrashDialog.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

CCrashDialog::CCrashDialog(const QString& report, QWidget* parent) : QDialog(parent) {
    setWindowTitle(Title);
    setModal(true);

    QString text = report;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));

    edit_ = new QPlainTextEdit(this);
    edit_->setObjectName(EditName);
    edit_->setReadOnly(true);
    edit_->setLineWrapMode(QPlainTextEdit::NoWrap);
    edit_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    edit_->setPlainText(text);

    // Wide and tall enough for the whole report without scrolling.
    const QFontMetrics metrics(edit_->font());
    int width = 0;
    const QStringList lines = text.split(u'\n');
    for (const QString& line : lines) width = std::max(width, metrics.horizontalAdvance(line));
    edit_->setMinimumSize(width + 4 * metrics.averageCharWidth(),
                          static_cast<int>(lines.size() + 2) * metrics.lineSpacing());

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(edit_);
    layout->addLayout(buttons);
}
