#pragma once

#include <QKeySequence>
#include <QList>
#include <QWidget>

#include <functional>
#include <ranges>
#include <type_traits>
#include <vector>

class QAction;
class QLineEdit;
class QPushButton;

namespace varkel {

// The controls of a window in the order Tab visits them. Each window (or view)
// lists its controls in reading order in one place: names, face, the groups left
// to right and top to bottom, then the buttons. Null entries are skipped, so a
// control a view does not have can stay in the list.
class TabOrder {
public:
    template <typename W>
        requires std::is_base_of_v<QWidget, W>
    TabOrder& operator<<(W* widget)
    {
        if (widget)
            widgets_.push_back(widget);
        return *this;
    }

    template <std::ranges::range Widgets>
    TabOrder& operator<<(const Widgets& widgets)
    {
        for (auto* widget : widgets)
            *this << widget;
        return *this;
    }

    const std::vector<QWidget*>& widgets() const { return widgets_; }
    // Makes Tab go through the controls in this order.
    void apply() const;

private:
    std::vector<QWidget*> widgets_;
};

// The platform's keys for `standard`, with `wanted` added when it is not among
// them, so that the documented key always works and a menu shows the platform's.
QList<QKeySequence> StandardKeys(QKeySequence::StandardKey standard, const QKeySequence& wanted);

// The File and Help commands of an editor window.
struct FileMenuActions {
    QAction* open;
    QAction* save;
    QAction* saveAs;
    QAction* exit;
    QAction* about;
};
// They take the standard keys, which their menus show: Open Ctrl+O, Save Ctrl+S,
// Save as Ctrl+Shift+S, Exit (the window's close) Ctrl+W, About F1. Ctrl+Q quits
// the program (UseProgramKeys).
void UseStandardKeys(const FileMenuActions& commands);

// Enter in `box` is its own (it searches, or shows a picture), never the window's
// Apply or default button.
void KeepEnter(QLineEdit* box);

// A search box of a window: Find (Ctrl+F) puts the focus there with its text
// selected, and Enter in it is its own. Undo and Redo stay the window's: what
// they take back is the document's last change, not the last search typed.
void TakeSearchKeys(QLineEdit* box);

// The keys of Apply in a view of records (a mode of an editor, a side editor):
// Enter in a one-line box or on a tick box and Ctrl+Enter anywhere in `window`
// press the Apply that `shownApply` gives, and Enter on a focused button presses
// that button. Enter in a list, a table or a multi-line box keeps its own
// meaning (there Ctrl+Enter applies). Apply's tooltip names the keys.
void UseApplyKeys(QWidget& window, std::function<QPushButton*()> shownApply);
void UseApplyKeys(QWidget& window, QPushButton* apply);
// The tooltip that names the keys, for an Apply that a window makes later.
void ShowApplyKeys(QPushButton* apply);

// Ctrl+Q and Ctrl+W in every window of the program that has no command of its
// own for them: Ctrl+Q runs `quit`, Ctrl+W closes the window (CloseWindow). They
// last as long as `owner`.
void UseProgramKeys(QObject& owner, std::function<void()> quit);
// Closes `window` as Ctrl+W does: a dialog as Escape does, any other window as
// its close button, with its questions. True when it closed.
bool CloseWindow(QWidget& window);

}  // namespace varkel
