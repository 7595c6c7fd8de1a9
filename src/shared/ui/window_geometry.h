#pragma once

#include "shared/session.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class QScreen;
class QWidget;

namespace varkel {

// Where a top-level window was and how large, kept in the settings file under
// [Windows], one key per window and screen: the window's object name, then the
// screen's size and scale as "@1024x768x1.5" (older versions kept one key per
// window, the object name alone, which is still read):
//   x,y,width,height,frameWidth,frameHeight,maximized
// x,y is the top left of the frame, width and height the inside of the window,
// frameWidth and frameHeight what the frame adds, maximized 1 or 0. All are in
// the screen's device-independent pixels.
inline const QString kWindowsSection = QStringLiteral("Windows");

// A screen as a window's size depends on it: its size in device-independent
// pixels and how many device pixels make one (the desktop's scale times
// QT_SCALE_FACTOR).
struct ScreenShape {
    QSize size;
    qreal scale = 1;

    static ScreenShape of(const QScreen& screen);
};

// The key of `window`'s place on `screen`.
QString WindowPlaceKey(const QString& window, const ScreenShape& screen);

// Where a window was and how large.
struct WindowPlace {
    QPoint framePosition;
    QSize size;        // inside the frame
    QSize frameExtra;  // what the frame adds to `size`
    bool maximized = false;

    QRect frame() const { return QRect(framePosition, size + frameExtra); }
};

// A screen a window may open on: its shape and its work area.
struct ScreenRoom {
    ScreenShape shape;
    QRect available;
};

// Where `window` opens, from the places kept for it (`kept` gives the value of a
// key of [Windows]) on the `screens` (the one it opens on first): the place kept
// for a screen of the same size and scale, moved inside its work area and made
// smaller where that is smaller; else the place an older version kept, only
// where it fits a work area whole. A place kept for a screen of another size or
// scale is not used: nothing, and the window opens at its own size.
std::optional<WindowPlace> PlaceToRestore(const std::function<QString(const QString& key)>& kept,
                                          const QString& window, const std::vector<ScreenRoom>& screens);

// Opens `window` where and as large as it was when last hidden on a screen of the
// same size and scale, if that place is still on the screen (its size made
// smaller where the work area is); otherwise at its own size hint, made smaller
// (and put in the middle of the screen) where the screen is smaller. Each time
// the window is hidden, its place on its screen goes into the settings file; a
// failed write only loses that place, so it is not reported. Call once, after
// the window's controls are built and before it is shown.
void KeepWindowGeometry(QWidget& window, Session& session);

}  // namespace varkel
