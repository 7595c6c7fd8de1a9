// Times the problems list and the comparison over every kind of the demo save with
// 860 officers (the intimacy levels of player slot 0 and the treasures included):
// checking it, comparing it with a copy whose every officer has another loyalty,
// and with another game whose records nearly all differ.
//   build/tests/file_check_bench [runs]
#include "demo_folder/demo_folder.h"
#include "shared/file_problems.h"
#include "shared/record_batch.h"
#include "support/bench.h"
#include "support/loaded_save.h"

#include <QCoreApplication>

using namespace varkel;

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 50;
    test::TempGameFolder folder;
    const auto save = test::LoadedSave::read(folder, demo::kDemoSlotWith860Officers, 0);
    std::printf("%d officers, %zu kinds\n", save->named(QStringLiteral("officers")).count(), save->kinds.size());

    std::vector<FileProblem> problems;
    test::TimeRuns("check every kind", runs, [&](int) { problems = FindProblems(save->kinds); });
    std::printf("  %zu problems, %zu mends\n", problems.size(), Mends(problems).size());
    test::TimeRuns("bind every kind to the save, then check", runs, [&](int) {
        const auto fresh = save->copy();
        problems = FindProblems(fresh->kinds);
    });

    const auto loyal = save->copy();
    RecordKind& officers = loyal->named(QStringLiteral("officers"));
    const auto everyone = RecordFilter::parse(officers, QString(), nullptr);
    const auto change = ParseAssignments(officers, {QStringLiteral("loyalty=*90%")}, nullptr);
    RunBatch(officers, *everyone, *change);
    const auto other = test::LoadedSave::read(folder, 0, 0);
    for (const auto& [what, theirs] : {std::pair{"compare with every officer's loyalty changed", loyal.get()},
                                       std::pair{"compare with another game", other.get()}}) {
        FileComparison comparison;
        test::TimeRuns(what, runs,
                       [&](int) { comparison = CompareFiles(save->kinds, save->save, theirs->kinds, theirs->save); });
        std::size_t records = 0;
        for (const KindDifference& kind : comparison.kinds)
            records += kind.records.size();
        std::printf("  %zu records differ, %lld bytes no field owns\n", records,
                    static_cast<long long>(comparison.unownedCount));
        test::TimeRuns("  take everything of theirs into a copy", std::max(1, runs / 5), [&](int) {
            const auto mine = save->copy();
            ApplyRecordEdits(mine->kinds, TheirsEdits(comparison, TakeSelection::everything()).edits);
        });
    }
    return 0;
}
