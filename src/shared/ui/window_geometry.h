#pragma once

#include "shared/session.h"

#include <QString>

class QWidget;

namespace varkel {

// Where a top-level window was and how large, kept in the settings file under
// [Windows], one key per window (its object name):
//   x,y,width,height,frameWidth,frameHeight,maximized
// x,y is the top left of the frame, width and height the inside of the window,
// frameWidth and frameHeight what the frame adds, maximized 1 or 0.
inline const QString kWindowsSection = QStringLiteral("Windows");

// Opens `window` where and as large as it was when last hidden, if that still fits
// inside the available area of a screen; otherwise at its own size hint, made
// smaller (and put in the middle of the screen) where the screen is smaller. Each
// time the window is hidden, its place goes into the settings file; a failed
// write only loses that place, so it is not reported. Call once, after the
// window's controls are built and before it is shown.
void KeepWindowGeometry(QWidget& window, Session& session);

}  // namespace varkel
