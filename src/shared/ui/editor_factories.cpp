#include "shared/ui/editor_factories.h"

#include "shared/ui/form3.h"

namespace varkel {

void InstallEditorFactories(Form3& form3)
{
    // Both editors open placeholders until they exist.
    form3.setEditorFactories(nullptr, nullptr);
}

}  // namespace varkel
