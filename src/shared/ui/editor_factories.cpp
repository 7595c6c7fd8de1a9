#include "shared/ui/editor_factories.h"

#include "saveeditor/ui/form4.h"
#include "shared/ui/form3.h"

namespace varkel {

void InstallEditorFactories(Form3& form3)
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
