#pragma once

#include "shared/runtime_error.h"
#include "shared/session.h"

#include <functional>

class QString;

namespace varkel {

class EditState;

// File > Save as of an editor: asks for a name among the `pattern` files of the
// game folder (called `label` in the dialog's filter), asks before a file that is
// there is replaced, then `write`s the document under that name, which reports its
// own failures. True when it was written.
bool SaveAs(Session& session, const QString& label, const QString& pattern,
            const std::function<bool(const QString& path)>& write);

// A write of `path` failed: the status line and a message give the reason. The
// changes stay unsaved, so nothing is lost.
void ReportSaveFailure(Session& session, EditState& state, const QString& path, const RuntimeError& error);

// Every save of the session asks before it writes a file without backing it up
// first (the backup folder is unsafe, or the disk full even after pruning); the
// answer holds for that file for the rest of the run.
void AskBeforeSavingWithoutBackup(Session& session);

// The question, so tests can tell it from the others.
extern const char* const kWithoutBackupQuestion;

}  // namespace varkel
