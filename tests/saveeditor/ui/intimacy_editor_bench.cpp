// Times the intimacy editor on the demo save whose person map is full (860
// officers): filling the list of every officer and applying one level to all rows
// (every position written, the list filled again).
//   build/tests/intimacy_editor_bench [runs]
#include "demo_folder/demo_folder.h"
#include "saveeditor/save_file.h"
#include "saveeditor/save_tables.h"
#include "saveeditor/ui/intimacy_editor.h"
#include "support/bench.h"
#include "support/file_bytes.h"
#include "support/save_editor.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace varkel;

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 20;
    test::BenchSession bench;
    const auto document = test::DemoSaveDocument(bench.session, demo::kDemoFullPersonMapSlot);

    IntimacyEditor form(bench.session, *document, 0);
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        return 1;
    std::printf("%d rows\n", form.List1->count());
    test::TimeRuns("fill Form8 (every officer of a full person map)", runs, [&](int) {
        form.fillList(false);
        QApplication::processEvents();
    });
    test::TimeRuns("apply one level to all rows", runs, [&](int) {
        form.tickAll();
        form.applyLevelToTicked();
        QApplication::processEvents();
    });
    return 0;
}
