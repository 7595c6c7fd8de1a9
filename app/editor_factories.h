#pragma once

// Where the program is put together: the start window gets its editors here, so
// the shared windows never reach up into the editors they open.
#include "gamefile/game_file_kind.h"
#include "neweditor/ui/new_officer_editor.h"
#include "saveeditor/ui/save_game_editor.h"
#include "shared/ui/start_window.h"

namespace varkel {

// An editor as the start window opens it: it shows the About view of the start
// window, and a file handed to the program while it is open opens as through its
// File > Open. It takes the files of `kind`.
template <typename Editor>
StartWindow::Editor OpensWithAbout(StartWindow& form3, GameFileKind kind)
{
    return {[&form3](Session& session, const QString& path) -> QWidget* {
                Editor* editor = Editor::open(session, path);
                if (editor)
                    editor->setAboutView([&form3] { form3.showAbout(); });
                return editor;
            },
            [](QWidget& editor, const QString& path) { static_cast<Editor&>(editor).openPath(path); },
            [kind](const QString& path) { return GameFileKindOf(path) == kind; }};
}

// Gives the start window its two editors. A system save handed to the program
// opens in the new-officer editor, any other file in the saved-game editor.
inline void InstallEditorFactories(StartWindow& form3)
{
    form3.setEditorFactories(OpensWithAbout<NewOfficerEditor>(form3, GameFileKind::SystemSave),
                             OpensWithAbout<SaveGameEditor>(form3, GameFileKind::SavedGame));
}

}  // namespace varkel
