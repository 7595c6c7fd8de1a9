#pragma once

#include <QString>
#include <QStringList>

namespace varkel {

// Text `id` of the program's string table. Asking for an id that does not exist
// is a programming error: it asserts, and gives an empty text in release builds.
QString GetResText(int id);

// Texts first..last, in order, as the combo lists use them.
QStringList GetResTexts(int first, int last);

bool HasResText(int id);

// The captions of the 26 skill check boxes, in the order of the skill texts
// 143..168. The record views spell skill 12 "辯才", where the text table (and so
// the treasure view's skill list) has "辨才".
QStringList SkillBoxCaptions();

}  // namespace varkel
