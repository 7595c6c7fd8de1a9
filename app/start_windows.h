#pragma once

// The windows --open shows: at start, or in the running editor when a later
// start was given it.
#include "shared/session.h"
#include "shared/ui/form2.h"
#include "shared/ui/form3.h"

#include <QLatin1StringView>
#include <QStringList>

#include <array>

namespace varkel {

struct StartWindow {
    QLatin1StringView name;
    void (*open)(Session& session, Form3& form3);
};

inline const std::array<StartWindow, 3> kStartWindows = {{
    {QLatin1StringView("about"), [](Session&, Form3& form3) { form3.showAbout(); }},
    {QLatin1StringView("face-picker"),
     [](Session& session, Form3& form3) {
         auto* picker = new Form2(session, 0, &form3);
         picker->setAttribute(Qt::WA_DeleteOnClose);
         picker->open();
     }},
    // An editor already open is the one shown.
    {QLatin1StringView("save-editor"),
     [](Session&, Form3& form3) {
         if (!form3.editor())
             form3.Command3_Click();
     }},
}};

inline QString StartWindowNames()
{
    QStringList names;
    for (const StartWindow& window : kStartWindows)
        names << window.name;
    return names.join(QStringLiteral(", "));
}

// Null for a name that is none of them.
inline const StartWindow* StartWindowNamed(const QString& name)
{
    for (const StartWindow& window : kStartWindows)
        if (window.name == name)
            return &window;
    return nullptr;
}

// What a start asks for, at start or handed over by a later start: the file
// first (it brings the editor to the front), then the window over it. A window
// name this editor does not know (from a later start of another version) shows
// nothing.
inline void OpenWhatStartAsks(Session& session, Form3& form3, const QString& path, const QString& window)
{
    form3.handOver(path);
    if (const StartWindow* shown = StartWindowNamed(window))
        shown->open(session, form3);
}

}  // namespace varkel
