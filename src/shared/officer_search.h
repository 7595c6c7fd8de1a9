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

// `text` with only what a search box keeps: the characters of the box's mode. The
// mode is the one `before` (the text before the edit) has; in an empty box the first
// digit or double-byte character chooses it.
QString FilterSearchText(const QString& text, const QString& before = QString());

// The index of the first row after `selected` (then from the top, wrapping round to
// `selected` itself) that begins with `text`; -1 when none does or `text` is empty.
int FindRowStartingWith(const QStringList& rows, int selected, const QString& text);

// The same for numbered items, by their name: the text after the first ':'.
int FindItemByName(const QStringList& items, int selected, const QString& name);

// The index of the item numbered `digits` in a list of `itemCount` items numbered
// from `firstNumber` on, else -1.
int FindItemByNumber(int itemCount, const QString& digits, int firstNumber = 0);

}  // namespace varkel
