#include "shared/ui/scroll_pane.h"

#include <QApplication>
#include <QScrollBar>

namespace varkel {

namespace {

// Room left around a control scrolled into sight, so its frame and caption show.
constexpr int kRevealMargin = 6;

}  // namespace

ScrollPane::ScrollPane(QWidget* body, QWidget* parent) : QScrollArea(parent)
{
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::NoFocus);
    setWidgetResizable(true);
    setWidget(body);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && widget() && widget()->isAncestorOf(now))
            reveal(now);
    });
}

QSize ScrollPane::sizeHint() const
{
    const int frame = 2 * frameWidth();
    QSize hint(frame, frame);
    if (const QWidget* body = widget())
        hint += body->sizeHint().expandedTo(body->minimumSizeHint()).expandedTo(body->minimumSize());
    return hint;
}

void ScrollPane::reveal(QWidget* control)
{
    if (!widget() || !widget()->isAncestorOf(control))
        return;
    const QRect area = QRect(control->mapTo(widget(), QPoint(0, 0)), control->size())
                           .adjusted(-kRevealMargin, -kRevealMargin, kRevealMargin, kRevealMargin);
    // The far corner first, then the near one: a control larger than the pane
    // keeps its top left in sight.
    ensureVisible(area.right(), area.bottom(), 0, 0);
    ensureVisible(area.left(), area.top(), 0, 0);
}

ScrollPane* ScrollPaneOf(QWidget* control)
{
    for (QWidget* w = control ? control->parentWidget() : nullptr; w; w = w->parentWidget())
        if (auto* pane = qobject_cast<ScrollPane*>(w))
            return pane;
    return nullptr;
}

}  // namespace varkel
