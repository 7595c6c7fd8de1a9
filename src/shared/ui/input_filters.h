#pragma once

#include <QValidator>

class QLineEdit;

namespace varkel {

// Keeps the text of a box to the characters it accepts, for typed and pasted text
// alike: disallowed characters are dropped, and an edit that would make the text
// longer than the box's input length is refused. Text the program sets is not
// filtered, so a stored value longer than the input length is still shown whole.
class CharacterFilter : public QValidator {
    Q_OBJECT
public:
    enum class Kind {
        DoubleByte,  // name boxes: characters above code 255
        Digits,      // number boxes: 0-9
        Search,      // search boxes: all digits or all double-byte, by the first character
    };

    CharacterFilter(Kind kind, int maxLength, QObject* parent = nullptr);
    State validate(QString& input, int& pos) const override;

    // The characters of `text` that a box of `kind` keeps.
    static QString filtered(Kind kind, const QString& text);

private:
    Kind kind_;
    int maxLength_;  // 0: no limit
};

void UseNameFilter(QLineEdit* box, int maxCharacters);
void UseDigitFilter(QLineEdit* box, int maxDigits);
void UseSearchFilter(QLineEdit* box);

}  // namespace varkel
