#pragma once
// The program's yes/no question: a question box with German button texts,
// "No" the default, so that Enter never confirms by accident.
#include <QString>

class QWidget;

/// True when the user answers with the `yes` button.
bool AskYesNo(QWidget* parent, const QString& caption, const QString& text, const QString& yes,
              const QString& no);
