#include "shared/ui/wheel_guard.h"

#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QScrollBar>
#include <QWheelEvent>

namespace varkel {

namespace {

const auto kGuardName = QStringLiteral("varkel-wheel-guard");

// A control whose value the wheel steps. A scroll bar only scrolls.
bool WheelStepsValue(const QWidget& w)
{
    return qobject_cast<const QComboBox*>(&w) || qobject_cast<const QAbstractSpinBox*>(&w) ||
           (qobject_cast<const QAbstractSlider*>(&w) && !qobject_cast<const QScrollBar*>(&w));
}

// Offers `wheel`, as `control` received it, to the widgets that hold the control,
// nearest first, each in its own coordinates, until one takes it: what Qt does
// with a wheel event its receiver leaves, here also for one sent by the program,
// which Qt hands to its receiver alone. A scroll area's viewport takes it and
// scrolls.
void PassToHolders(QWidget& control, const QWheelEvent& wheel)
{
    QPointF position = wheel.position();
    for (QWidget* w = &control; !w->isWindow() && !w->testAttribute(Qt::WA_NoMousePropagation);) {
        position += w->pos();
        w = w->parentWidget();
        QWheelEvent passed(position, wheel.globalPosition(), wheel.pixelDelta(), wheel.angleDelta(), wheel.buttons(),
                           wheel.modifiers(), wheel.phase(), wheel.inverted(), wheel.source(), wheel.pointingDevice());
        passed.setTimestamp(wheel.timestamp());
        if (QCoreApplication::sendEvent(w, &passed) && passed.isAccepted())
            return;
    }
}

class WheelGuard : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if ((type != QEvent::Polish && type != QEvent::Wheel) || !watched->isWidgetType())
            return false;
        auto& control = static_cast<QWidget&>(*watched);
        if (!WheelStepsValue(control))
            return false;
        if (type == QEvent::Polish) {
            // Qt gives a WheelFocus control the keyboard before the wheel reaches it.
            if (control.focusPolicy() == Qt::WheelFocus)
                control.setFocusPolicy(Qt::StrongFocus);
            return false;
        }
        if (control.hasFocus())
            return false;
        PassToHolders(control, static_cast<const QWheelEvent&>(*event));
        // Taken here, so Qt does not offer it to the holders once more.
        event->accept();
        return true;
    }
};

}  // namespace

void GuardValuesFromTheWheel()
{
    if (qApp->findChild<QObject*>(kGuardName, Qt::FindDirectChildrenOnly))
        return;
    auto* guard = new WheelGuard(qApp);
    guard->setObjectName(kGuardName);
    qApp->installEventFilter(guard);
}

}  // namespace varkel
