#pragma once

#include <QValidator>

class QLineEdit;
class QPlainTextEdit;

namespace varkel {

// Keeps the text of a box to the characters it accepts, for typed and pasted text
// alike: disallowed characters are dropped, and an edit that would make the text
// longer than the box's input length is refused. A name box says which characters
// it dropped because code page 950 has no code for them (simplified ones such as
// 华), in a balloon under the box. Text the program sets (the box is
// then not modified) is left exactly as it is, so a stored name or a value longer
// than the input length is shown, and written back, whole.
class CharacterFilter : public QValidator {
    Q_OBJECT
public:
    enum class Kind {
        DoubleByte,  // name boxes: characters above code 255
        Digits,      // number boxes: 0-9
        Search,      // search boxes: all digits or all double-byte, by the first character
    };

    // `box` is the line edit the filter guards; it becomes the filter's parent.
    CharacterFilter(Kind kind, int maxLength, QLineEdit* box);
    State validate(QString& input, int& pos) const override;

    // The characters of `text` that a box of `kind` keeps; `before` is the text
    // before the edit (a search box keeps the mode its text already has).
    static QString filtered(Kind kind, const QString& text, const QString& before = QString());

private:
    Kind kind_;
    int maxLength_;  // 0: no limit
    QLineEdit* box_;
    QString before_;  // the box's text before the edit being validated
};

void UseNameFilter(QLineEdit* box, int maxCharacters);
// The same for a text of several lines (a biography): double-byte characters
// only, at most `maxCharacters` of them, and the same balloon; the line breaks
// shown are not counted and an edit drops them (the record puts its own). Text the
// program shows through ShowText() is kept as it is.
void UseTextFilter(QPlainTextEdit* box, int maxCharacters);
void ShowText(QPlainTextEdit* box, const QString& text);
void UseDigitFilter(QLineEdit* box, int maxDigits);
void UseSearchFilter(QLineEdit* box);

}  // namespace varkel
