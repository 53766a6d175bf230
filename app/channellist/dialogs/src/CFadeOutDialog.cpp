#include "dialogs/CFadeOutDialog.h"

#include <QPropertyAnimation>

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
