#pragma once

#include <initializer_list>

class QDialog;
class QLabel;
class QPushButton;
class QStatusBar;
class QWidget;

namespace varkel {

// The status line at the foot of a list window, with the grip that resizes it.
QStatusBar* MakeStatusLine(QDialog& window);

// Lays out a window of one list: the list, the line under it, the buttons on the
// right and the status line. No button takes Enter, which belongs to the list.
void LayOutListWindow(QDialog& window, QWidget* list, QLabel* summary, std::initializer_list<QPushButton*> buttons,
                      QStatusBar* statusLine);

}  // namespace varkel
