#include "shared/name_field.h"

#include "shared/big5.h"
#include "shared/bytes.h"

#include <limits>

namespace varkel {

QString ReadNameField(const QByteArray& buffer, qsizetype start, int lastOffset)
{
    QString result;
    if (start < 0)
        return result;
    const Big5& big5 = Big5::instance();
    result.reserve(lastOffset + 2);  // a slot gives at most two characters
    for (qsizetype i = 0; i <= lastOffset; i += 2) {
        const qsizetype at = start + i;
        if (at >= buffer.size() || byteAt(buffer, at) == 0)
            break;
        big5.appendSlot(result, static_cast<std::uint16_t>(byteAt(buffer, at) * 256 + byteAt(buffer, at + 1)));
    }
    qsizetype end = result.size();
    while (end > 0 && result[end - 1] == QLatin1Char(' '))
        --end;
    result.truncate(end);
    return result;
}

void WriteNameField(QByteArray& buffer, qsizetype start, const QString& text)
{
    WriteNameField(buffer, start, text, std::numeric_limits<int>::max());
}

void WriteNameField(QByteArray& buffer, qsizetype start, const QString& text, int capacity)
{
    const Big5& big5 = Big5::instance();
    // A longer text (single-byte pairs decode to two characters) never runs into the next field.
    for (qsizetype j = 0; j < text.size() && j < capacity; ++j) {
        const std::uint16_t code = big5.encode(text[j].unicode());
        if (code > 255) {
            setByte(buffer, start + 2 * j, code >> 8);
            setByte(buffer, start + 2 * j + 1, code & 0xFF);
        }
    }
    if (text.size() < capacity)
        setByte(buffer, start + 2 * text.size(), 0);
}

void WriteNameFieldIfChanged(QByteArray& buffer, qsizetype start, int lastOffset, const QString& text)
{
    if (ReadNameField(buffer, start, lastOffset) != text)
        WriteNameField(buffer, start, text);
}

bool IsDoubleByteChar(QChar c)
{
    return Big5::instance().encode(c.unicode()) > 255;
}

QStringList CharactersWithoutCode(const QString& text)
{
    QStringList found;
    qsizetype i = 0;
    while (i < text.size()) {
        // A pair of surrogates is one character, and has no code.
        const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        const QString c = text.mid(i, pair ? 2 : 1);
        const bool coded = !pair && (text[i].isNull() || Big5::instance().encode(text[i].unicode()) != 0);
        if (!coded && !found.contains(c))
            found << c;
        i += c.size();
    }
    return found;
}

QString PadRight(const QString& text, int width)
{
    QString result = text;
    const qsizetype w = width - 2 * text.size();
    for (qsizetype k = 1; k <= w; k += 2)
        result += QChar(0x3000);
    return result;
}

int NibbleToListIndex(int nibble)
{
    return nibble > 7 ? nibble - 7 : 0;
}

int ListIndexToNibble(int listIndex)
{
    return listIndex > 0 ? listIndex + 7 : 0;
}

QString FormatNumber(int n, int digits)
{
    return QStringLiteral("%1").arg(n, digits, 10, QLatin1Char('0'));
}

QString NumberedItem(int n, int digits, const QString& name)
{
    return FormatNumber(n, digits) + QLatin1Char(':') + name;
}

int ItemNumber(const QString& item)
{
    const qsizetype colon = item.indexOf(QLatin1Char(':'));
    if (colon <= 0)
        return -1;
    bool ok = false;
    const int n = item.left(colon).toInt(&ok);
    return ok ? n : -1;
}

QString ItemName(const QString& item)
{
    const qsizetype colon = item.indexOf(QLatin1Char(':'));
    return colon < 0 ? QString() : item.mid(colon + 1);
}

}  // namespace varkel
