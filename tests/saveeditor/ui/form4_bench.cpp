// Times the saved-game editor on a demo game folder: opening the window (newest
// save read, tables built, officer list filled, officer 0 shown and painted) and
// switching officers (a List1 selection shows the officer and its face) and
// treasures (a List2 selection shows the treasure, its note and its picture).
//   build/tests/form4_bench [runs]
#include "saveeditor/ui/form4.h"
#include "support/temp_game_folder.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

using namespace varkel;

namespace {

void report(const char* what, std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    std::printf("%s, %zu runs on %s: median %.2f ms, min %.2f ms, 90th percentile %.2f ms, max %.2f ms\n", what,
                ms.size(), qPrintable(QApplication::platformName()), ms[ms.size() / 2], ms.front(),
                ms[ms.size() * 9 / 10], ms.back());
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 50;

    const test::TempGameFolder folder;
    QTemporaryDir temp;
    Session session;
    ScriptedPrompter prompter;
    ScriptedFileDialogs dialogs;
    session.prompter = &prompter;
    session.dialogs = &dialogs;
    session.gameFolder = folder.path();
    session.tempFolder = temp.path() + QLatin1Char('/');
    session.banks = PictureBanks::load(folder.file(QStringLiteral("g_maindy.vk")));

    std::vector<double> opening;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        std::unique_ptr<Form4> form(Form4::open(session));
        if (!form)
            return 1;
        form->show();
        QApplication::processEvents();
        opening.push_back(timer.nsecsElapsed() / 1e6);
    }
    report("open Form4", opening);

    std::unique_ptr<Form4> form(Form4::open(session));
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get()))
        return 1;
    auto* list = form->findChild<QListWidget*>(QStringLiteral("List1"));
    std::vector<double> switching;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        list->setCurrentRow((i * 37 + 1) % list->count());
        QApplication::processEvents();
        switching.push_back(timer.nsecsElapsed() / 1e6);
    }
    report("switch officer (List1 -> ReadWJInfo2)", switching);

    form->Option3[1]->click();
    QApplication::processEvents();
    auto* treasures = form->findChild<QListWidget*>(QStringLiteral("List2"));
    auto* picture = form->findChild<QLabel*>(QStringLiteral("Picture2"));
    std::vector<double> treasureSwitching;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        treasures->setCurrentRow((i * 37 + 1) % treasures->count());
        picture->repaint();
        treasureSwitching.push_back(timer.nsecsElapsed() / 1e6);
    }
    report("switch treasure (List2 -> ReadHorse, picture written, loaded and painted)", treasureSwitching);
    return 0;
}
