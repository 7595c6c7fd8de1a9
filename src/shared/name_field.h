#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace varkel {

// Decodes the name field at `start`: two-byte Big5 slots, lead byte first, up to
// the slot at start + lastOffset, ending early at a slot whose lead byte is 0.
// Trailing ASCII spaces are removed. Never reads past the end of `buffer`.
QString ReadNameField(const QByteArray& buffer, qsizetype start, int lastOffset);

// Writes `text` into the field at `start`: each character's Big5 code in its two
// bytes, then one 0 byte. A character with a single-byte code (or none) leaves its
// two bytes as they were. Bytes after the 0 are not touched. Writes that would
// pass the end of `buffer` are dropped.
void WriteNameField(QByteArray& buffer, qsizetype start, const QString& text);
// The same for a field of `capacity` characters whose full name has no 0 byte
// after it: the byte after a full field belongs to something else. Characters
// beyond the capacity are not written.
void WriteNameField(QByteArray& buffer, qsizetype start, const QString& text, int capacity);

// Writes `text` unless the field already decodes to it, so that an untouched name
// keeps the exact bytes it was read from (duplicate or damaged codes included).
void WriteNameFieldIfChanged(QByteArray& buffer, qsizetype start, int lastOffset, const QString& text);

// `text` followed by ideographic spaces up to `width` half-width columns.
QString PadRight(const QString& text, int width);

// A stored tactic level nibble as a list index (8..13 -> 1..6, else 0), and back.
int NibbleToListIndex(int nibble);
int ListIndexToNibble(int listIndex);

// `n` zero-padded to at least `digits` digits ("###000" is FormatNumber(n, 3)).
QString FormatNumber(int n, int digits);

// "007:name": how lists show numbered records.
QString NumberedItem(int n, int digits, const QString& name);

// The number before the first ':' of a list item, or -1.
int ItemNumber(const QString& item);

// The text after the first ':' of a list item.
QString ItemName(const QString& item);

// True for a character whose code page 950 code is above 255 (a double-byte
// character): what name boxes accept and what chooses a name search. "×" (A1 D1)
// is one; ASCII, and characters Big5 cannot store, are not.
bool IsDoubleByteChar(QChar c);

// The characters of `text` that code page 950 has no code for (华, an emoji), each
// once, in the order they first appear.
QStringList CharactersWithoutCode(const QString& text);

}  // namespace varkel
