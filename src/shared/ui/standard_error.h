#pragma once

#include "shared/runtime_error.h"
#include "shared/session.h"

class QByteArray;
class QImage;
class QIODevice;
class QLabel;
class QPixmap;
class QWidget;

namespace varkel {

// What a window shows of `error`: "number-description" in Chinese. The
// platform's English reason goes to the log (stderr) only.
QString ShownError(const RuntimeError& error);

// Shows "number-description" with the critical icon and the title "Varkel-Error"
// (or `title`).
void ShowRuntimeError(Prompter& prompter, const RuntimeError& error, const QString& title = kErrorTitle);

// Writes face `n` to the temporary face bitmap and shows it in `picture`. `n` is
// wrapped in place. A bitmap that cannot be written is reported under
// `errorTitle` and ends the program, since no window can show a face after that;
// false then.
bool ShowFace(Session& session, QLabel* picture, int& n, const QString& errorTitle = kErrorTitle);
// An empty framed picture box a face fits in, named `name`.
QLabel* MakeFacePicture(const QString& name, QWidget* parent);
// The same for any picture: writes `bitmap` over the temporary file `name` in the
// session's private folder (none without one) and shows it.
bool ShowTempBitmap(Session& session, QLabel* picture, const QString& name, const QByteArray& bitmap,
                    const QString& errorTitle = kErrorTitle);

// An image of a format Qt decodes itself ("bmp", "png"), or a null image. Qt's
// format detection first loads every installed image plugin to ask it, which
// cost start-up more than the decoding.
QImage ReadImage(QIODevice& device, const char* format);

// The program's icon for every window.
void UseProgramIcon();

// Applies the Traditional Chinese CJK font to the application.
void UseChineseFont();

// Makes Traditional Chinese (Taiwan) the default locale, for what Qt formats by it:
// dates and sizes in the file dialogs. The program's own numbers never go through
// a locale (QString::number), so files and boxes read the same under any.
void UseChineseLocale();

// Installs Qt's own Traditional Chinese translation, so that standard buttons and
// dialogs speak Chinese; false (English dialogs) where it is not installed.
bool UseChineseTranslation();

}  // namespace varkel
