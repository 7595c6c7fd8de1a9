#pragma once

#include <QMouseEvent>
#include <QPoint>
#include <QWidget>

namespace varkel {

// Moves a frameless window by dragging its surface: a press remembers where the
// pointer took hold, each move with the left button held follows the pointer.
class WindowDrag {
public:
    void press(const QMouseEvent* event) { grip_ = event->position().toPoint(); }
    void move(QWidget* window, const QMouseEvent* event) const
    {
        if (event->buttons() & Qt::LeftButton)
            window->move(window->pos() + event->position().toPoint() - grip_);
    }

private:
    QPoint grip_;
};

}  // namespace varkel
