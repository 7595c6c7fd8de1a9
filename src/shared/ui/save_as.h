#pragma once

#include "shared/runtime_error.h"
#include "shared/session.h"

#include <functional>

class QString;

namespace varkel {

class EditState;

// File > Save as of an editor: asks for a name among the `pattern` files of the
// game folder, asks before a file that is there is replaced, then `write`s the
// document under that name, which reports its own failures. True when it was written.
bool SaveAs(Session& session, const QString& pattern, const std::function<bool(const QString& path)>& write);

// A write of `path` failed: the status line and a message give the reason. The
// changes stay unsaved, so nothing is lost.
void ReportSaveFailure(Session& session, EditState& state, const QString& path, const RuntimeError& error);

}  // namespace varkel
