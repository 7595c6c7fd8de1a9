#pragma once

#include <QtGlobal>

// Where a person's fields lie. A person block opens each officer's records in a saved
// game and the 148-byte records of family members and new officers; offsets are bytes
// from its start.
namespace varkel::person {

// Years are stored as the year minus this.
inline constexpr int kYearBase = 100;

// The name fields and the face.
inline constexpr qsizetype kSurname = 0, kGivenName = 5, kCourtesyName = 10, kTitle = 15, kFullName = 26;
inline constexpr qsizetype kFace = 48;  // LE16

// The four abilities: might, intellect, politics, charisma.
inline constexpr qsizetype kAbilities = 37;

// The skill bits and tactic levels, from the start of a status block or of the
// status part of a 148-byte record.
inline constexpr qsizetype kSkills = 56;
inline constexpr qsizetype kTactics = 60;  // eight bytes of two level nibbles

}  // namespace varkel::person
