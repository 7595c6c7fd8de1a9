#include "shared/ui/input_filters.h"

#include "shared/name_field.h"
#include "shared/officer_search.h"

#include <QLineEdit>

namespace varkel {

CharacterFilter::CharacterFilter(Kind kind, int maxLength, QObject* parent)
    : QValidator(parent), kind_(kind), maxLength_(maxLength)
{
}

QString CharacterFilter::filtered(Kind kind, const QString& text)
{
    switch (kind) {
    case Kind::DoubleByte: {
        QString kept;
        for (const QChar c : text)
            if (IsDoubleByteChar(c))
                kept += c;
        return kept;
    }
    case Kind::Digits: {
        QString kept;
        for (const QChar c : text)
            if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
                kept += c;
        return kept;
    }
    case Kind::Search:
        return FilterSearchText(text);
    }
    return text;
}

QValidator::State CharacterFilter::validate(QString& input, int& pos) const
{
    const QString kept = filtered(kind_, input);
    if (maxLength_ > 0 && kept.size() > maxLength_)
        return Invalid;
    if (kept != input) {
        // The cursor stays after the last character kept before it.
        pos = static_cast<int>(filtered(kind_, input.left(pos)).size());
        input = kept;
    }
    return Acceptable;
}

void UseNameFilter(QLineEdit* box, int maxCharacters)
{
    box->setValidator(new CharacterFilter(CharacterFilter::Kind::DoubleByte, maxCharacters, box));
}

void UseDigitFilter(QLineEdit* box, int maxDigits)
{
    box->setValidator(new CharacterFilter(CharacterFilter::Kind::Digits, maxDigits, box));
}

void UseSearchFilter(QLineEdit* box)
{
    box->setValidator(new CharacterFilter(CharacterFilter::Kind::Search, 0, box));
}

}  // namespace varkel
