// The floor the editor's start-up is measured against: a bare Qt Widgets program
// that pays the same font cost (the same CJK font chosen the same way) and shows
// one label of Chinese text, then quits as the editor does with --quit-when-shown.
#include "shared/ui/standard_error.h"
#include "shared/ui/when_shown.h"

#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    varkel::UseChineseFont();
    QLabel label(QStringLiteral("瓦爾克編輯器：開始視窗"));
    label.show();
    varkel::QuitWhenShown();
    return app.exec();
}
