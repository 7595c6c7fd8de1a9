// The floor the editor's start-up is measured against: a bare Qt Widgets program
// that pays the same font cost (the same CJK font chosen the same way) and shows
// one label of Chinese text, then quits as the editor does with --quit-when-shown.
#include "shared/ui/standard_error.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QWindow>

namespace {

// Quits through a zero-timer once every shown window is on screen and the event
// loop has nothing left to do; a window the platform has not exposed yet is
// waited for.
void QuitWhenShown()
{
    QTimer::singleShot(0, qApp, [] {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible() && !(window->windowHandle() && window->windowHandle()->isExposed())) {
                QuitWhenShown();
                return;
            }
        QApplication::quit();
    });
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    varkel::UseChineseFont();
    QLabel label(QStringLiteral("瓦爾克編輯器：開始視窗"));
    label.show();
    QuitWhenShown();
    return app.exec();
}
