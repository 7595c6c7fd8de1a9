#pragma once

// Where the program is put together: the start window gets its editors here, so
// the shared windows never reach up into the editors they open.
#include "neweditor/ui/form1.h"
#include "saveeditor/ui/form4.h"
#include "shared/ui/form3.h"

namespace varkel {

// An editor as the start window opens it: it shows the About view of the start
// window, and a file handed to the program while it is open opens as through its
// File > Open. It takes the files of `filePattern`.
template <typename Editor>
Form3::Editor OpensWithAbout(Form3& form3, const QString& filePattern = {})
{
    return {[&form3](Session& session, const QString& path) -> QWidget* {
                Editor* editor = Editor::open(session, path);
                if (editor)
                    editor->setAboutView([&form3] { form3.showAbout(); });
                return editor;
            },
            [](QWidget& editor, const QString& path) { static_cast<Editor&>(editor).openPath(path); }, filePattern};
}

// Gives the start window its two editors. A system save handed to the program
// opens in the new-officer editor, any other file in the saved-game editor.
inline void InstallEditorFactories(Form3& form3)
{
    form3.setEditorFactories(OpensWithAbout<Form1>(form3, Form1::kFilePattern), OpensWithAbout<Form4>(form3));
}

}  // namespace varkel
