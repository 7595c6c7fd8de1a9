#include "shared/ui/input_filters.h"

#include "shared/name_field.h"
#include "shared/officer_search.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QToolTip>

#include <memory>

namespace varkel {

namespace {

// Set on a text box while the program puts a text into it, which no filter changes.
constexpr const char* kShowingText = "varkelShowingText";

// What an edit put in: the part of `after` between what it shares with `before`
// at the start and at the end.
QString insertedText(const QString& before, const QString& after)
{
    qsizetype start = 0;
    while (start < before.size() && start < after.size() && before[start] == after[start])
        ++start;
    qsizetype end = 0;
    while (end < before.size() - start && end < after.size() - start &&
           before[before.size() - 1 - end] == after[after.size() - 1 - end])
        ++end;
    return after.mid(start, after.size() - start - end);
}

// Says, in a balloon under `box`, which characters of the `inserted` text code
// page 950 has no code for, so the user knows why they did not go in.
void TellCharactersWithoutCode(QWidget* box, const QString& inserted)
{
    const QStringList refused = CharactersWithoutCode(inserted);
    if (refused.isEmpty())
        return;
    const QString text =
        QStringLiteral("「%1」不在Big5字集中，遊戲無法儲存。").arg(refused.join(QStringLiteral("」「")));
    QToolTip::showText(box->mapToGlobal(QPoint(0, box->height())), text, box);
}

}  // namespace

CharacterFilter::CharacterFilter(Kind kind, int maxLength, QLineEdit* box)
    : QValidator(box), kind_(kind), maxLength_(maxLength), box_(box), before_(box->text())
{
    connect(box, &QLineEdit::textChanged, this, [this](const QString& text) { before_ = text; });
}

QString CharacterFilter::filtered(Kind kind, const QString& text, const QString& before)
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
        return FilterSearchText(text, before);
    }
    return text;
}

QValidator::State CharacterFilter::validate(QString& input, int& pos) const
{
    // setText() clears the modified flag before the text is validated; an edit by
    // the user sets it.
    if (!box_->isModified())
        return Acceptable;
    // An edit that brings in nothing the box accepts is refused whole, like a
    // discarded key, so it does not delete a selection either.
    const QString inserted = insertedText(before_, input);
    if (kind_ == Kind::DoubleByte)
        TellCharactersWithoutCode(box_, inserted);
    if (!inserted.isEmpty() && filtered(kind_, inserted, before_).isEmpty())
        return Invalid;
    const QString kept = filtered(kind_, input, before_);
    if (maxLength_ > 0 && kept.size() > maxLength_)
        return Invalid;
    if (kept != input) {
        // The cursor stays after the last character kept before it.
        pos = static_cast<int>(filtered(kind_, input.left(pos), before_).size());
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

void ShowText(QPlainTextEdit* box, const QString& text)
{
    box->setProperty(kShowingText, true);
    box->setPlainText(text);
    box->setProperty(kShowingText, false);
}

void UseTextFilter(QPlainTextEdit* box, int maxCharacters)
{
    using Kind = CharacterFilter::Kind;
    auto before = std::make_shared<QString>(box->toPlainText());
    QObject::connect(box, &QPlainTextEdit::textChanged, box, [box, maxCharacters, before] {
        const QString text = box->toPlainText();
        if (box->property(kShowingText).toBool() || text == *before) {
            *before = text;
            return;
        }
        TellCharactersWithoutCode(box, insertedText(*before, text));
        const QString kept = CharacterFilter::filtered(Kind::DoubleByte, text);
        // An edit that makes the text longer than the box takes is refused whole;
        // a stored text that is already longer can still be shortened.
        const bool refused = kept.size() > maxCharacters &&
                             kept.size() >= CharacterFilter::filtered(Kind::DoubleByte, *before).size();
        if (!refused && kept == text) {
            *before = text;
            return;
        }
        const QString shown = refused ? *before : kept;
        const qsizetype position =
            refused ? shown.size()
                    : CharacterFilter::filtered(Kind::DoubleByte, text.left(box->textCursor().position())).size();
        *before = shown;
        const QSignalBlocker block(box);
        box->setPlainText(shown);
        box->document()->setModified(true);
        QTextCursor cursor = box->textCursor();
        cursor.setPosition(static_cast<int>(std::min(position, shown.size())));
        box->setTextCursor(cursor);
    });
}

}  // namespace varkel
