#pragma once

#include "shared/seams.h"

#include <QStringList>

namespace varkel {

// Before a file whose bytes break the rules every file of its kind keeps (what
// SaveGame::shapeProblems and SystemSave::shapeProblems find) is opened: asks
// `question` with Yes and No, No the default. True when the file may be opened:
// it has no `problems`, or the user said Yes.
bool MayOpenUnlikeFile(Prompter& prompter, const QStringList& problems, const char* question);

// The questions, so tests can tell them from the others.
extern const char* const kUnlikeSaveQuestion;
extern const char* const kUnlikeSystemSaveQuestion;

}  // namespace varkel
