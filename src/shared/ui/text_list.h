#pragma once

#include <QListWidget>

namespace varkel {

// A list of one-line rows in the list's own font, each as wide as the list is made
// for. Every row takes the first row's height, so a long list is laid out without
// measuring (and loading the glyphs of) rows nobody has scrolled to.
QListWidget* TextList(QWidget* parent, const QString& name);

}  // namespace varkel
