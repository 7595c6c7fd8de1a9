#include "shared/ui/when_shown.h"

#include <QApplication>
#include <QFile>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <deque>

namespace varkel {

namespace {

// What waits for the windows to be shown, in the order it is to run.
std::deque<std::function<void()>>& Waiting()
{
    static std::deque<std::function<void()>> waiting;
    return waiting;
}

bool polling = false;

void Poll()
{
    QTimer::singleShot(0, qApp, [] {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible() && !(window->windowHandle() && window->windowHandle()->isExposed())) {
                Poll();
                return;
            }
        polling = false;
        while (!Waiting().empty()) {
            const std::function<void()> then = std::move(Waiting().front());
            Waiting().pop_front();
            then();
        }
    });
}

void Wait(std::function<void()> then, bool first)
{
    if (first)
        Waiting().push_front(std::move(then));
    else
        Waiting().push_back(std::move(then));
    if (!std::exchange(polling, true))
        Poll();
}

}  // namespace

void WhenShown(std::function<void()> then)
{
    Wait(std::move(then), false);
}

void QuitWhenShown()
{
    // First of all that waits, which is dropped: a timed run ends where the user
    // would first see the windows.
    Wait(
        [] {
            Waiting().clear();
            // The start-up bench reads the memory of the shown program from here: the
            // process's own account of its pages, taken before anything is torn down.
            const QString report = qEnvironmentVariable("VARKEL_SHOWN_MEMORY_REPORT");
            if (!report.isEmpty()) {
                QFile rollup(QStringLiteral("/proc/self/smaps_rollup"));
                QFile out(report);
                if (rollup.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly | QIODevice::Truncate))
                    out.write(rollup.readAll());
            }
            QApplication::quit();
        },
        true);
}

}  // namespace varkel
