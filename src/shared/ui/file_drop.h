#pragma once

#include <QString>

#include <functional>

class QMimeData;
class QWidget;

namespace varkel {

// The local file a drag carries when it carries exactly one, existing and not a
// folder; an empty string for anything else (several files, text, remote URLs).
QString DroppedFile(const QMimeData* data);

// Lets `window` take a single local file dropped anywhere on it, text boxes
// included (dialogs it owns are windows of their own), and hands its path to
// `opened`. Other drags are left to the widgets as before. `opened` runs after the
// drop has finished, so the program the file came from is not held while the file
// opens or the window asks questions.
void AcceptFileDrops(QWidget& window, std::function<void(const QString&)> opened);

}  // namespace varkel
