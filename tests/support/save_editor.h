#pragma once

#include "saveeditor/ui/form4.h"

#include <QtGlobal>

#include <memory>

namespace varkel::test {

// The saved-game editor on the newest save of the session's game folder; one
// that refuses to open ends the test program.
inline std::unique_ptr<Form4> OpenSaveEditor(Session& session)
{
    std::unique_ptr<Form4> form(Form4::open(session));
    if (!form)
        qFatal("Form4 did not open");
    return form;
}

}  // namespace varkel::test
