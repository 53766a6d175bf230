#include "channellist/dialogs/CFadeOutDialog.h"

#include <QBoxLayout>
#include <QPropertyAnimation>
#include <QPushButton>

#include "channellist/dialogs/DialogTexts.h"

CFadeOutDialog::CFadeOutDialog(bool fadeOutOff, QWidget* parent)
    : QDialog(parent), fadeOutOff_(fadeOutOff) {}

void CFadeOutDialog::done(int result) {
    if (closing_) return;
    closing_ = true;
    if (fadeOutOff_ || !isVisible()) {
        Finish(result);
        return;
    }
    animation_ = new QPropertyAnimation(this, "windowOpacity", this);
    animation_->setDuration(FadeDurationMs);
    animation_->setStartValue(windowOpacity());
    animation_->setEndValue(0.0);
    connect(animation_, &QPropertyAnimation::finished, this, [this, result] { Finish(result); });
    animation_->start(QAbstractAnimation::DeleteWhenStopped);
}

void CFadeOutDialog::Finish(int result) {
    QDialog::done(result);
    // Ready to be shown again at full opacity.
    setWindowOpacity(1.0);
    closing_ = false;
}

void CFadeOutDialog::AddOkCancel(QBoxLayout* row) {
    auto* ok = new QPushButton(QString::fromUtf8(DialogTexts::ButtonOk), this);
    ok->setObjectName("IDOK");
    ok->setDefault(true);
    auto* cancel = new QPushButton(QString::fromUtf8(DialogTexts::ButtonCancel), this);
    cancel->setObjectName("IDCANCEL");
    cancel->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    row->addWidget(ok);
    row->addWidget(cancel);
}

QVBoxLayout* CFadeOutDialog::LayOutWithOkCancel(QWidget* content) {
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    AddOkCancel(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(content);
    layout->addLayout(buttons);
    return layout;
}
