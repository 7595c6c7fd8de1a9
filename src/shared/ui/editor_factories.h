#pragma once

namespace varkel {

class Form3;

// Gives the start window its two editors.
void InstallEditorFactories(Form3& form3);

}  // namespace varkel
