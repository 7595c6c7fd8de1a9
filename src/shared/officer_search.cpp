#include "shared/officer_search.h"

#include "shared/name_field.h"

namespace varkel {

namespace {

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

}  // namespace

std::optional<SearchMode> SearchModeOf(const QString& text)
{
    if (text.isEmpty())
        return std::nullopt;
    if (IsDoubleByteChar(text.front()))
        return SearchMode::Name;
    if (isDigit(text.front()))
        return SearchMode::Number;
    return std::nullopt;
}

QString FilterSearchText(const QString& text, const QString& before)
{
    QString kept;
    std::optional<SearchMode> mode = SearchModeOf(before);
    for (const QChar c : text) {
        const std::optional<SearchMode> kind = SearchModeOf(QString(c));
        if (!kind || (mode && *kind != *mode))
            continue;
        mode = kind;
        kept += c;
    }
    return kept;
}

int FindRowStartingWith(const QStringList& rows, int selected, const QString& text)
{
    const int count = static_cast<int>(rows.size());
    if (text.isEmpty() || count == 0)
        return -1;
    const int start = selected >= 0 && selected < count ? selected + 1 : 0;
    for (int step = 0; step < count; ++step) {
        const int i = (start + step) % count;
        if (rows[i].startsWith(text))
            return i;
    }
    return -1;
}

int FindItemByName(const QStringList& items, int selected, const QString& name)
{
    QStringList names;
    names.reserve(items.size());
    for (const QString& item : items)
        names << ItemName(item);
    return FindRowStartingWith(names, selected, name);
}

int FindItemByNumber(int itemCount, const QString& digits, int firstNumber)
{
    // Compared before subtracting: the box may hold any number a qlonglong can.
    bool ok = false;
    const qlonglong number = digits.toLongLong(&ok);
    return ok && number >= firstNumber && number - firstNumber < itemCount ? static_cast<int>(number - firstNumber)
                                                                           : -1;
}

}  // namespace varkel
