// Times the filter and the batch change on the demo save with 860 officers:
// choosing records by their values, and changing every officer, first as a preview
// (a copy of the save with a kind bound to it) and then for real.
//   build/tests/record_batch_bench [runs]
#include "demo_folder/demo_folder.h"
#include "saveeditor/officer_kind.h"
#include "saveeditor/save_file.h"
#include "shared/record_batch.h"
#include "support/bench.h"
#include "support/file_bytes.h"

#include <QCoreApplication>

using namespace varkel;

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 50;
    test::TempGameFolder folder;
    const QByteArray original = test::FileBytes(SaveGame::slotPath(folder.path(), demo::kDemoSlotWith860Officers));
    QByteArray save = original;
    OfficerKind kind;
    kind.load(save);
    std::printf("%d officers\n", kind.count());

    const QString ruler = kind.namedTexts(0).front().second;
    for (const QString& text : {QStringLiteral("武力>=90 身份=在野"), "勢力=" + ruler + " 忠誠<60",
                                QStringLiteral("姓名~孫"), QStringLiteral("特技~騎兵 壽命>=5")}) {
        std::size_t picked = 0;
        test::TimeRuns(qPrintable("filter every officer by " + text), runs,
                       [&](int) { picked = RecordFilter::parse(kind, text, nullptr)->select(kind).size(); });
        std::printf("  %zu picked\n", picked);
    }

    const RecordFilter everyone = *RecordFilter::parse(kind, QString(), nullptr);
    const auto changes =
        *ParseAssignments(kind, {QStringLiteral("loyalty=*90%"), QStringLiteral("charisma=+3")}, nullptr);
    BatchResult preview, applied;
    test::TimeRuns("batch change of every officer: preview on a copy, then apply", runs, [&](int) {
        save = original;
        QByteArray copy = save;
        OfficerKind onCopy;
        onCopy.load(copy);
        preview = RunBatch(onCopy, everyone, changes);
        kind.load(save);
        applied = RunBatch(kind, everyone, changes);
    });
    std::printf("  preview: %d change; applied: %d changed, %d refused\n", preview.count(BatchOutcome::Result::Changed),
                applied.count(BatchOutcome::Result::Changed), applied.count(BatchOutcome::Result::Refused));
    test::TimeRuns("batch change of every officer: apply alone", runs, [&](int) {
        save = original;
        kind.load(save);
        applied = RunBatch(kind, everyone, changes);
    });
    return 0;
}
