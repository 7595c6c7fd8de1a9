#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace varkel {

// The officer lists search by name (the first character typed is double-byte) or
// by number (the first character is a digit).
enum class SearchMode { Name, Number };

// The mode the first character of `text` chooses, or none (empty text, or a first
// character that is neither).
std::optional<SearchMode> SearchModeOf(const QString& text);

// `text` with only what a search box keeps: its first character must be a digit or
// a double-byte character, and the rest must be of the same kind.
QString FilterSearchText(const QString& text);

// The index of the first item after `selected` (then from the top, wrapping round to
// `selected` itself) whose name, the text after its first ':', begins with `name`;
// -1 when none does.
int FindItemByName(const QStringList& items, int selected, const QString& name);

// The item numbered `digits` when it is below `itemCount`, else -1.
int FindItemByNumber(int itemCount, const QString& digits);

}  // namespace varkel
