#pragma once

#include <QKeySequence>
#include <QList>
#include <QWidget>

#include <ranges>
#include <type_traits>
#include <vector>

class QAction;
class QLineEdit;

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
struct FileCommands {
    QAction* open;
    QAction* save;
    QAction* saveAs;
    QAction* exit;
    QAction* about;
};
// They take the standard keys, which their menus show: Open Ctrl+O, Save Ctrl+S,
// Save as Ctrl+Shift+S, Exit Ctrl+Q and Ctrl+W, About F1.
void UseStandardKeys(const FileCommands& commands);

// A search box of a window: Find (Ctrl+F) puts the focus there with its text
// selected, and Enter in it is its own (it searches), never the window's default
// button.
void TakeSearchKeys(QLineEdit* box);

}  // namespace varkel
