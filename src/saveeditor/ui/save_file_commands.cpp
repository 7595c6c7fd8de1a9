#include "saveeditor/ui/save_file_commands.h"

#include "saveeditor/save_document.h"
#include "saveeditor/ui/save_reading.h"
#include "shared/texts.h"
#include "shared/ui/edit_state.h"
#include "shared/ui/save_as.h"

#include <utility>

namespace varkel {

namespace {

// Reports a failed write; a write that went through marks the save saved.
bool Written(Session& session, EditState& state, SaveDocument& document, const QString& path,
             const std::optional<RuntimeError>& error)
{
    if (error) {
        ReportSaveFailure(session, state, path, *error);
        return false;
    }
    state.saved({document.path()}, session.files);
    return true;
}

}  // namespace

EditorFile SaveGameFile(Session& session, SaveDocument& document, EditState& state,
                        std::function<PendingEdits()> pending, std::function<void()> moved)
{
    EditorFile file;
    file.label = kSaveGameLabel;
    file.pattern = kSaveGamePattern;
    file.path = [&document] { return document.path(); };
    file.modified = [&document] { return document.modified(SaveDocument::kSaveBuffer); };
    file.pending = std::move(pending);
    file.open = [&session, &document](const QString& path) {
        return OpenSaveOver(session, document, path, save::kOpenMinimumSize, Text::FileDamaged);
    };
    file.write = [&session, &state, &document] {
        return Written(session, state, document, document.path(), document.save(session.files));
    };
    file.writeAs = [&session, &state, &document, moved](const QString& path) {
        if (!Written(session, state, document, path, document.saveAs(session.files, path)))
            return false;
        moved();
        return true;
    };
    file.opened = std::move(moved);
    file.keepsRecentFiles = true;
    return file;
}

bool OpenSaveOver(Session& session, SaveDocument& document, const QString& path, qint64 minimumSize,
                  int missingText)
{
    // Read aside first: a file refused here, or one the user chose not to open,
    // leaves the open save as it was.
    auto opened = ReadSaveToOpen(session, path, minimumSize, missingText);
    if (opened)
        document.open(std::move(*opened));
    return opened.has_value();
}

}  // namespace varkel
