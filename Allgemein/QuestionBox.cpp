#include "Allgemein/QuestionBox.h"

#include <QAbstractButton>
#include <QMessageBox>

bool AskYesNo(QWidget* parent, const QString& caption, const QString& text, const QString& yes,
              const QString& no) {
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No,
                    parent);
    box.button(QMessageBox::Yes)->setText(yes);
    box.button(QMessageBox::No)->setText(no);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}
