#pragma once

// Where the program is put together: the start window gets its editors here, so
// the shared windows never reach up into the editors they open.
#include "neweditor/ui/form1.h"
#include "saveeditor/ui/form4.h"
#include "shared/ui/form3.h"

namespace varkel {

// An editor as the start window opens it: it shows the About view of the start window.
template <typename Editor>
Form3::EditorFactory OpensWithAbout(Form3& form3)
{
    return [&form3](Session& session) -> QWidget* {
        Editor* editor = Editor::open(session);
        if (editor)
            editor->setAboutView([&form3] { form3.showAbout(); });
        return editor;
    };
}

// Gives the start window its two editors.
inline void InstallEditorFactories(Form3& form3)
{
    form3.setEditorFactories(OpensWithAbout<Form1>(form3), OpensWithAbout<Form4>(form3));
}

}  // namespace varkel
