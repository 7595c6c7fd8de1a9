// Times the city editor on the demo save with 860 officers: opening it (the head
// and corps tables, the lists, city 0 shown) and switching from city to city.
//   build/tests/city_editor_bench [runs]
#include "demo_folder/demo_folder.h"
#include "saveeditor/save_file.h"
#include "saveeditor/save_tables.h"
#include "saveeditor/ui/city_editor.h"
#include "support/bench.h"
#include "support/file_bytes.h"
#include "support/save_editor.h"

#include <QApplication>
#include <QListWidget>
#include <QTest>

using namespace varkel;

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 20;
    test::BenchSession bench;
    const auto document = test::DemoSaveDocument(bench.session, demo::kDemoSlotWith860Officers);
    const SaveTables& tables = document->tables();
    const QStringList cities =
        ScenarioData::decodeCityNames(test::FileBytes(bench.folder.file(QStringLiteral("d_sce.vk"))));
    std::printf("%d officers\n", tables.officerCount);

    test::TimeRuns("open Form10 (860 officers)", runs, [&](int) {
        CityEditor form(bench.session, *document, cities, {});
        form.show();
        QApplication::processEvents();
    });
    CityEditor form(bench.session, *document, cities, {});
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        return 1;
    test::TimeRuns("switch to the next city", runs * 5, [&](int i) {
        form.List1->setCurrentRow((i + 1) % city::kCount);
        QApplication::processEvents();
    });
    return 0;
}
