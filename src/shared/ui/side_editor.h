#pragma once

#include <QString>

#include <functional>
#include <initializer_list>

class QDialog;
class QListWidget;
class QPushButton;
class QWidget;

namespace varkel {

// The buttons of a side editor, made by LayOutSideEditor.
struct SideEditorButtons {
    QPushButton* apply;  // the default button
    QPushButton* exit;   // accepts the dialog
    QPushButton* table;  // "一覽表": hidden until OfferRecordsTable gives it something to open
};

// Lays out a side editor (the city and force editors): its list on the left, its
// groups one above the other beside it, and under them the records-table button
// and then Apply and Exit on the right. The buttons get the object names given.
SideEditorButtons LayOutSideEditor(QDialog& window, QListWidget* list, std::initializer_list<QWidget*> groups,
                                   const QString& applyName, const QString& exitName);

// Shows the records-table button, which (and Ctrl+T) then runs `open`.
void OfferRecordsTable(QPushButton* table, std::function<void()> open);

}  // namespace varkel
