#pragma once

// Where the program is put together: the start window gets its editors here, so
// the shared windows never reach up into the editors they open.
#include "saveeditor/ui/form4.h"
#include "shared/ui/form3.h"

namespace varkel {

// Gives the start window its two editors.
inline void InstallEditorFactories(Form3& form3)
{
    // The new-officer editor opens a placeholder until it exists.
    form3.setEditorFactories(nullptr, [&form3](Session& session) -> QWidget* {
        Form4* editor = Form4::open(session);
        if (editor)
            editor->setAboutView([&form3] { form3.showAbout(); });
        return editor;
    });
}

}  // namespace varkel
