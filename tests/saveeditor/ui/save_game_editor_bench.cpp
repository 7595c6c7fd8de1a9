// Times the saved-game editor on a demo game folder: opening the window (newest
// save read, tables built, officer list filled, officer 0 shown and painted) and
// switching officers (a List1 selection shows the officer and its face),
// treasures (a List2 selection shows the treasure, its note and its picture),
// relationships (a List3 selection shows both parties) and family members (a
// List4 selection shows the member, its officer and remark).
//   build/tests/save_game_editor_bench [runs]
#include "saveeditor/ui/save_game_editor.h"
#include "support/bench.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>

#include <memory>

using namespace varkel;

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 50;
    test::BenchSession bench;
    Session& session = bench.session;

    test::TimeRuns("open Form4", runs, [&](int) {
        std::unique_ptr<SaveGameEditor> form(SaveGameEditor::open(session));
        if (!form)
            std::exit(1);
        form->show();
        QApplication::processEvents();
    });

    std::unique_ptr<SaveGameEditor> form(SaveGameEditor::open(session));
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get()))
        return 1;
    auto* list = form->findChild<QListWidget*>(QStringLiteral("List1"));
    test::TimeRuns("switch officer (List1 -> ReadWJInfo2)", runs, [&](int i) {
        list->setCurrentRow((i * 37 + 1) % list->count());
        QApplication::processEvents();
    });

    form->modes().Option3[1]->click();
    QApplication::processEvents();
    auto* treasures = form->findChild<QListWidget*>(QStringLiteral("List2"));
    auto* picture = form->findChild<QLabel*>(QStringLiteral("Picture2"));
    test::TimeRuns("switch treasure (List2 -> ReadHorse, picture written, loaded and painted)", runs, [&](int i) {
        treasures->setCurrentRow((i * 37 + 1) % treasures->count());
        picture->repaint();
    });

    form->modes().Option3[2]->click();
    QApplication::processEvents();
    auto* relations = form->findChild<QListWidget*>(QStringLiteral("List3"));
    test::TimeRuns("switch relationship (List3 -> ShowRelation, both faces written and painted)", runs, [&](int i) {
        relations->setCurrentRow((i * 7 + 1) % relations->count());
        QApplication::processEvents();
    });

    form->modes().Option3[3]->click();
    QApplication::processEvents();
    auto* members = form->findChild<QListWidget*>(QStringLiteral("List4"));
    test::TimeRuns("switch family member (List4 -> showMember, both faces written and painted)", runs, [&](int i) {
        members->setCurrentRow((i * 5 + 1) % members->count());
        QApplication::processEvents();
    });
    return 0;
}
