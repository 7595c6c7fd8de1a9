#pragma once

#include <QScrollArea>

namespace varkel {

// The body of a view, scrolling when the window is smaller than the body and
// otherwise drawn as if it were not there: no frame, the body's own size as its
// size hint (a plain scroll area caps it at a few dozen lines), and whatever gets
// the focus inside is scrolled into sight, whether by Tab, a click, a shortcut or
// a refused value. The pane itself takes no focus.
class ScrollPane : public QScrollArea {
    Q_OBJECT
public:
    // Takes `body` over; it is stretched to fill the pane when the pane is larger.
    explicit ScrollPane(QWidget* body, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    // Scrolls so that `control` (inside the body) is in sight whole, or, when it is
    // larger than the pane, its top left part.
    void reveal(QWidget* control);
};

// The scroll pane that holds `control`, or null.
ScrollPane* ScrollPaneOf(QWidget* control);

}  // namespace varkel
