#include "channellist/dialogs/CHexCharValidator.h"

#include "channellist/dialogs/DialogTexts.h"

QString CHexCharValidator::Filter(const QString& text) {
    static const QString accepted = QString::fromLatin1(DialogTexts::HexEditChars);
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (accepted.contains(c)) out.append(c);
    }
    return out;
}

QValidator::State CHexCharValidator::validate(QString& input, int& pos) const {
    // Characters before the cursor that are dropped move the cursor back.
    const QString before = Filter(input.left(pos));
    input = before + Filter(input.mid(pos));
    pos = static_cast<int>(before.size());
    return Acceptable;
}
