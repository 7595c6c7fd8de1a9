#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// A biography record: 152 bytes of double-byte characters (lead byte first) and
// line breaks (one byte 10), ended by a 0 byte or the record's end. New officers
// keep theirs in "RDText.vk", family members theirs in the saved game.
namespace varkel::biography {

inline constexpr qsizetype kRecordSize = 152;
inline constexpr int kLineChars = 18;  // a line break is written after every 18 characters
inline constexpr int kCapacity = 74;   // characters a written record holds: 2 * 74 + 4 breaks
inline constexpr char kLineBreak = '\n';

}  // namespace varkel::biography

namespace varkel {

enum class BiographyProblem {
    SingleByteCharacter,  // a character whose code page 950 code is one byte (or none)
    TooLong,              // more than biography::kCapacity characters
    OutsideBuffer,        // the record does not lie wholly inside the buffer
};

// The text of the record at `start`, each line break as LF. A full record without
// a 0 byte and without breaks reads as 76 characters.
QString DecodeBiography(const QByteArray& buffer, qsizetype start);

// Stores `text` into the record at `start`: line breaks in it are dropped and one is
// written after every 18 characters, the rest of the record is zeroed. A text
// that reads as the record does (line breaks aside) leaves the stored bytes as they
// are. A refused text leaves the record unchanged; nothing outside the record's
// 152 bytes is ever written.
std::optional<BiographyProblem> EncodeBiography(QByteArray& buffer, qsizetype start, const QString& text);

// Why a text was refused, for a message that names the field first
// (FieldProblemMessage).
QString BiographyProblemText(BiographyProblem problem);

}  // namespace varkel
