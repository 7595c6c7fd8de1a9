#pragma once

#include "saveeditor/save_document.h"
#include "saveeditor/ui/save_game_editor.h"
#include "support/file_bytes.h"

#include <QtGlobal>

#include <memory>

namespace varkel::test {

// The saved-game editor on the newest save of the session's game folder; one
// that refuses to open ends the test program.
inline std::unique_ptr<SaveGameEditor> OpenSaveEditor(Session& session)
{
    std::unique_ptr<SaveGameEditor> form(SaveGameEditor::open(session));
    if (!form)
        qFatal("Form4 did not open");
    return form;
}

// A saved game of `bytes` as a document without a scenario file, for the side
// windows that edit the save alone.
inline std::unique_ptr<SaveDocument> SaveDocumentOf(QByteArray bytes)
{
    SaveGame save;
    save.bytes = std::move(bytes);
    return std::make_unique<SaveDocument>(std::move(save), ScenarioData());
}

// Demo save `slot` of the session's game folder as such a document.
inline std::unique_ptr<SaveDocument> DemoSaveDocument(const Session& session, int slot)
{
    return SaveDocumentOf(FileBytes(SaveGame::slotPath(session.gameFolder, slot)));
}

}  // namespace varkel::test
