#pragma once

#include <QString>

#include <initializer_list>

class QAbstractItemView;
class QDialog;
class QFontMetrics;
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

// A cell whose column cuts its text (or that holds several lines) shows the whole
// text on hover; a cell with a tooltip of its own shows that.
void ShowCutTextsOnHover(QAbstractItemView& view);

// The width of a column that shows `caption` (with the sort mark) and `widest`
// whole, but no more than `most` pixels: what is cut shows on hover.
int ColumnWidth(const QFontMetrics& metrics, const QString& caption, const QString& widest, int most);

}  // namespace varkel
