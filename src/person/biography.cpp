#include "person/biography.h"

#include "shared/big5.h"
#include "shared/bytes.h"
#include "shared/name_field.h"

namespace varkel {

namespace {

using namespace biography;

// A character pair starts no later than here, so it never reads past the record.
constexpr qsizetype kLastPairStart = kRecordSize - 2;

QString withoutBreaks(QString text)
{
    text.remove(QLatin1Char(kLineBreak));
    return text;
}

}  // namespace

QString DecodeBiography(const QByteArray& buffer, qsizetype start)
{
    const Big5& big5 = Big5::instance();
    QString text;
    for (qsizetype p = 0; p <= kLastPairStart;) {
        const int c = byteAt(buffer, start + p);
        if (c == 0)
            break;
        if (c == kLineBreak) {
            text += QLatin1Char(kLineBreak);
            ++p;
            continue;
        }
        big5.appendSlot(text, static_cast<std::uint16_t>(c << 8 | byteAt(buffer, start + p + 1)));
        p += 2;
    }
    return text;
}

std::optional<BiographyProblem> EncodeBiography(QByteArray& buffer, qsizetype start, const QString& text)
{
    if (start < 0 || start + kRecordSize > buffer.size())
        return BiographyProblem::OutsideBuffer;
    const QString characters = withoutBreaks(text);
    if (characters == withoutBreaks(DecodeBiography(buffer, start)))
        return std::nullopt;
    for (const QChar c : characters)
        if (!IsDoubleByteChar(c))
            return BiographyProblem::SingleByteCharacter;
    if (characters.size() > kCapacity)
        return BiographyProblem::TooLong;

    const Big5& big5 = Big5::instance();
    QByteArray record(kRecordSize, '\0');
    qsizetype at = 0;
    for (qsizetype n = 0; n < characters.size(); ++n) {
        if (n > 0 && n % kLineChars == 0)
            record[at++] = kLineBreak;
        const std::uint16_t code = big5.encode(characters[n].unicode());
        record[at++] = static_cast<char>(code >> 8);
        record[at++] = static_cast<char>(code & 0xFF);
    }
    buffer.replace(start, kRecordSize, record);
    return std::nullopt;
}

QString BiographyProblemText(BiographyProblem problem)
{
    switch (problem) {
    case BiographyProblem::SingleByteCharacter:
        return QStringLiteral("只能是雙字節的中文字。");
    case BiographyProblem::TooLong:
        return QStringLiteral("最多%1個字。").arg(kCapacity);
    case BiographyProblem::OutsideBuffer:
        break;
    }
    return QStringLiteral("不在文件之中。");
}

}  // namespace varkel
