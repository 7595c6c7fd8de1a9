#include "shared/undo_history.h"
#include "support/file_bytes.h"

#include <gtest/gtest.h>

#include <random>

namespace varkel {
namespace {

constexpr qsizetype kSaveSize = 374534;
constexpr qsizetype kScenarioSize = 40000;

// An Apply as the editors make them: a record-sized run of bytes in one buffer,
// and sometimes a second run in the other (a treasure Apply writes both).
void RandomApply(QByteArray& save, QByteArray& scenario, std::mt19937& random)
{
    const auto change = [&random](QByteArray& bytes) {
        const qsizetype length = 1 + qsizetype(random() % 80);
        const qsizetype at = qsizetype(random() % std::uint32_t(bytes.size() - length));
        for (qsizetype i = at; i < at + length; ++i)
            if (random() % 3 != 0)
                bytes[i] = char(random());
    };
    change(save);
    if (random() % 4 == 0)
        change(scenario);
}

TEST(UndoHistory, ThousandAppliesUndoneGiveTheOriginalBytesAndRedoneTheLast)
{
    QByteArray save = test::RandomBytes(kSaveSize, 13);
    QByteArray scenario = test::RandomBytes(kScenarioSize, 14);
    std::mt19937 random(15);
    const QByteArray originalSave = save, originalScenario = scenario;

    UndoHistory history;
    history.reset({&save, &scenario});
    int steps = 0;
    for (int i = 0; i < 1000; ++i) {
        RandomApply(save, scenario, random);
        steps += history.record() ? 1 : 0;
    }
    const QByteArray lastSave = save, lastScenario = scenario;
    EXPECT_GT(steps, 990);  // a run of unchanged bytes can make an Apply change nothing
    EXPECT_LT(history.memoryUse(), std::size_t(1) << 20);

    for (int i = 0; i < 1000; ++i)
        history.undo();
    EXPECT_FALSE(history.canUndo());
    EXPECT_TRUE(save == originalSave);
    EXPECT_TRUE(scenario == originalScenario);
    EXPECT_FALSE(history.differsFromSaved(0));
    EXPECT_FALSE(history.differsFromSaved(1));

    while (history.redo()) {
    }
    EXPECT_TRUE(save == lastSave);
    EXPECT_TRUE(scenario == lastScenario);
}

// The saved state of each buffer as Applies, saves, undos and redos follow each other.
TEST(UndoHistory, SavedStateFollowsEachBuffer)
{
    enum Op { ApplySave, ApplyBoth, ApplyNothing, SaveFirst, SaveSecond, Undo, Redo, WriteUnrecorded };
    struct Row {
        const char* name;
        std::vector<Op> ops;
        bool firstDiffers;
        bool secondDiffers;
    };
    const std::vector<Row> rows = {
        {"opened", {}, false, false},
        {"an apply", {ApplySave}, true, false},
        {"an apply over both buffers", {ApplyBoth}, true, true},
        {"an apply that changes nothing", {ApplyNothing}, false, false},
        {"applied and saved", {ApplySave, SaveFirst}, false, false},
        {"undone back to opened", {ApplyBoth, Undo}, false, false},
        {"undone after a save", {ApplySave, SaveFirst, Undo}, true, false},
        {"undone and redone to the saved state", {ApplySave, SaveFirst, Undo, Redo}, false, false},
        {"saved, then the first buffer only changed", {ApplyBoth, SaveFirst, SaveSecond, ApplySave}, true, false},
        {"undo past a step of the other buffer", {ApplyBoth, SaveSecond, ApplySave, Undo}, true, false},
        {"saved state dropped by a new apply after undo", {ApplySave, SaveFirst, Undo, ApplyBoth, Undo}, true, false},
        {"a change not yet recorded", {WriteUnrecorded}, true, false},
        {"undo takes back a change not yet recorded too", {ApplySave, WriteUnrecorded, Undo}, true, false},
    };
    for (const Row& row : rows) {
        QByteArray first(64, 'a'), second(32, 'b');
        UndoHistory history;
        history.reset({&first, &second});
        int n = 0;
        for (const Op op : row.ops) {
            ++n;
            switch (op) {
            case ApplySave:
                first[n] = char('A' + n);
                history.record();
                break;
            case ApplyBoth:
                first[n] = char('A' + n);
                second[n] = char('A' + n);
                history.record();
                break;
            case ApplyNothing:
                EXPECT_FALSE(history.record()) << row.name;
                break;
            case SaveFirst:
                history.markSaved(0);
                break;
            case SaveSecond:
                history.markSaved(1);
                break;
            case Undo:
                history.undo();
                break;
            case Redo:
                history.redo();
                break;
            case WriteUnrecorded:
                first[40] = 'z';
                break;
            }
        }
        EXPECT_EQ(history.differsFromSaved(0), row.firstDiffers) << row.name;
        EXPECT_EQ(history.differsFromSaved(1), row.secondDiffers) << row.name;
    }
}

TEST(UndoHistory, StepsKeepOnlyTheChangedBytesAndLengthChanges)
{
    QByteArray buffer(1000, '\0');
    UndoHistory history;
    history.reset({&buffer});
    const QByteArray opened = buffer;

    buffer[10] = 1;
    buffer[20] = 2;   // close: one range with the bytes between
    buffer[900] = 3;  // far: a range of its own
    ASSERT_TRUE(history.record());
    EXPECT_LT(history.memoryUse(), std::size_t(400));

    buffer.append("tail");  // a buffer that grows and shrinks again
    ASSERT_TRUE(history.record());
    buffer.chop(104);
    ASSERT_TRUE(history.record());
    const QByteArray last = buffer;

    history.undo();
    history.undo();
    EXPECT_EQ(buffer.size(), 1000);
    EXPECT_EQ(buffer[900], 3);
    history.undo();
    EXPECT_TRUE(buffer == opened);
    EXPECT_FALSE(history.undo());
    history.redo();
    history.redo();
    history.redo();
    EXPECT_TRUE(buffer == last);
    EXPECT_FALSE(history.redo());
}

}  // namespace
}  // namespace varkel
