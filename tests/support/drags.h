#pragma once

#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QWidget>

namespace varkel::test {

// What a drag with `data` did to `target`: whether each of its events was taken,
// and the action the target chose for the drop.
struct DragOutcome {
    bool enterTaken = false;
    bool moveTaken = false;
    bool dropTaken = false;
    Qt::DropAction dropAction = Qt::IgnoreAction;
};

// Drags `data` onto `target` and drops it there, as a file manager would.
inline DragOutcome Drag(QWidget& target, const QMimeData& data, Qt::DropActions actions = Qt::CopyAction)
{
    const QPoint at(5, 5);
    DragOutcome outcome;
    QDragEnterEvent enter(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &enter);
    outcome.enterTaken = enter.isAccepted();
    QDragMoveEvent move(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &move);
    outcome.moveTaken = move.isAccepted();
    QDropEvent drop(QPointF(at), actions, &data, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &drop);
    outcome.dropTaken = drop.isAccepted();
    outcome.dropAction = drop.dropAction();
    return outcome;
}

}  // namespace varkel::test
