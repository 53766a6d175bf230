#pragma once
// Input filter of the ID, PID and symbol-rate edits: only the characters
// "01234567890ABCDEFabcdef" get in, whether typed or pasted; every other
// character of an insertion is dropped.
#include <QValidator>

class CHexCharValidator : public QValidator {
    Q_OBJECT
  public:
    using QValidator::QValidator;

    /// The text with every character outside the accepted set removed.
    static QString Filter(const QString& text);

    State validate(QString& input, int& pos) const override;
};
