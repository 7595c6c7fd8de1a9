#pragma once

// The windows --open shows: at start, or in the running editor when a later
// start was given it.
#include "shared/session.h"
#include "shared/ui/face_picker.h"
#include "shared/ui/start_window.h"

#include <QLatin1StringView>
#include <QStringList>

#include <array>

namespace varkel {

struct OpenableWindow {
    QLatin1StringView name;
    void (*open)(Session& session, StartWindow& start);
};

inline const std::array<OpenableWindow, 3> kOpenableWindows = {{
    {QLatin1StringView("about"), [](Session&, StartWindow& start) { start.showAbout(); }},
    {QLatin1StringView("face-picker"),
     [](Session& session, StartWindow& start) {
         auto* picker = new FacePicker(session, 0, &start);
         picker->setAttribute(Qt::WA_DeleteOnClose);
         picker->open();
     }},
    // An editor already open is the one shown.
    {QLatin1StringView("save-editor"),
     [](Session&, StartWindow& start) {
         if (!start.editor())
             start.openSaveGameEditor();
     }},
}};

inline QString OpenableWindowNames()
{
    QStringList names;
    for (const OpenableWindow& window : kOpenableWindows)
        names << window.name;
    return names.join(QStringLiteral(", "));
}

// Null for a name that is none of them.
inline const OpenableWindow* OpenableWindowNamed(const QString& name)
{
    for (const OpenableWindow& window : kOpenableWindows)
        if (window.name == name)
            return &window;
    return nullptr;
}

// What a start asks for, at start or handed over by a later start: the file
// first (it brings the editor to the front), then the window over it. A window
// name this editor does not know (from a later start of another version) shows
// nothing.
inline void OpenWhatStartAsks(Session& session, StartWindow& start, const QString& path, const QString& window)
{
    start.handOver(path);
    if (const OpenableWindow* shown = OpenableWindowNamed(window))
        shown->open(session, start);
}

}  // namespace varkel
