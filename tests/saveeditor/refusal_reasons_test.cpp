// A kind's refusal comes in two words: the command line's (English, naming the
// field's key) and the window's (Chinese), which the views and the records
// table's batch outcomes show.
#include "demo_folder/demo_folder.h"
#include "support/gtest_qt.h"
#include "support/loaded_save.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

namespace varkel {
namespace {

class RefusalReasons : public test::DemoSaves {};

TEST_F(RefusalReasons, ARefusalIsWordedForTheCommandLineAndForTheWindow)
{
    struct Row {
        const char* name;
        const char* kind;
        int record;
        const char* field;
        const char* value;
        const char* reason;  // a part of the window's words
    };
    const Row rows[] = {
        // 760 officers: a party beyond them is none of them.
        {"relation party no officer", "relations", 0, "a", "800", "不是本存檔的武將"},
        {"family surname emptied", "family", 0, "surname", "", "不能為空"},
        {"treasure name emptied", "treasures", 3, "name", "", "不能為空"},
    };
    const auto loaded = slot(demo::kDemoSlotWith760Officers);
    const QRegularExpression latin(QStringLiteral("[A-Za-z]"));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QByteArray save = loaded->save;
        RecordKind& kind = loaded->named(QString::fromLatin1(row.kind));
        kind.load(save);
        const EditResult result =
            EditRecord(kind, save, row.record, {{QString::fromLatin1(row.field), QString::fromUtf8(row.value)}});
        ASSERT_TRUE(result.problem);
        EXPECT_TRUE(result.problem->contains(QLatin1String(row.field)) || result.problem->contains(kind.recordKind(0)))
            << result.problem->toStdString();
        EXPECT_TRUE(result.reason.contains(QString::fromUtf8(row.reason))) << result.reason.toStdString();
        EXPECT_FALSE(result.reason.contains(latin)) << result.reason.toStdString();
        EXPECT_EQ(save, loaded->save);  // nothing stored
    }
}

}  // namespace
}  // namespace varkel
