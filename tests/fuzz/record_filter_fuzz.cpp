// The filter language and the batch engine over the records of the demo saves.
// Any filter text parses or says which word is at fault, a word inside the text;
// a filter picks records in order, and written twice it picks the same. Any
// assignments parse or name the one at fault. A batch changes only the bytes of
// the records it reports changed, a refused record keeps every byte, a number it
// sets lies within the field's limits, and a second run on another copy does the
// same. The sanitizers stop any sum or share that overflows on the way.
//
// Input: the kind (a byte, mod 3: officers, family members, new officers), then
// UTF-16 text: the filter, a line break, then one assignment per line.

#include "fuzz_support.h"

#include "demo_folder/demo_folder.h"
#include "demo_folder/demo_game_files.h"
#include "demo_folder/demo_save.h"
#include "neweditor/new_officer_kind.h"
#include "neweditor/new_officer_layout.h"
#include "saveeditor/family_kind.h"
#include "saveeditor/officer_kind.h"
#include "saveeditor/save_tables.h"
#include "shared/record_batch.h"

#include <algorithm>
#include <initializer_list>
#include <memory>

namespace varkel::fuzz {

namespace {

enum Kind { kOfficers, kFamily, kNewOfficers, kKindCount };

// The demo files, made once.
struct Demo {
    QByteArray save = demo::MakeSavedGame(demo::SlotPlans()[demo::kDemoSlotWith860Officers]);
    QStringList cityNames = ScenarioData::decodeCityNames(demo::MakeScenario());
    QByteArray systemSave = demo::MakeSystemSave();
    QByteArray biographies = demo::MakeBiographyFile();
};

const Demo& demoFiles()
{
    static const Demo files;
    return files;
}

// Copies of the demo files of one kind, with the kind bound to them.
struct Bound {
    QByteArray file;
    QByteArray biographies;
    std::unique_ptr<RecordKind> kind;

    explicit Bound(int which)
    {
        const Demo& d = demoFiles();
        biographies = d.biographies;
        if (which == kOfficers)
            kind = std::make_unique<OfficerKind>(d.cityNames);
        else if (which == kFamily)
            kind = std::make_unique<FamilyKind>();
        else
            kind = std::make_unique<NewOfficerKind>(&biographies);
        file = which == kNewOfficers ? d.systemSave : d.save;
        kind->load(file);
    }
};

QByteArray input(int kind, const char* filter, std::initializer_list<const char*> assignments)
{
    QString text = QString::fromUtf8(filter);
    for (const char* a : assignments)
        text += QLatin1Char('\n') + QString::fromUtf8(a);
    return Byte(kind) + Utf16(text);
}

// A mask over `bytes` with the extents of `records` set.
QByteArray owned(const RecordKind& kind, const std::vector<int>& records, qsizetype size)
{
    QByteArray mask(size, '\0');
    for (const int n : records)
        for (const RecordKind::Extent& e : kind.extents(n))
            for (qsizetype i = std::max<qsizetype>(e.offset, 0); i < e.offset + e.size && i < size; ++i)
                mask[i] = char(0xFF);
    return mask;
}

// The same over the biographies of new officers.
QByteArray ownedBiographies(const std::vector<int>& records, qsizetype size)
{
    QByteArray mask(size, '\0');
    for (const int n : records)
        for (qsizetype i = system_save::biographyRecord(n);
             i < system_save::biographyRecord(n) + biography::kRecordSize && i < size; ++i)
            mask[i] = char(0xFF);
    return mask;
}

}  // namespace

std::vector<QByteArray> Seeds(const QString&)
{
    return {
        input(kOfficers, "武力>=90 身份=在野", {"loyalty=+10", "charisma=*110%"}),
        input(kOfficers, "number<3", {"loyalty=+9223372036854775807"}),
        input(kOfficers, "number<3", {"loyalty=*999999999999999999%"}),
        input(kOfficers, "忠誠<2147483647", {"loyalty=-2147483647", "money=*2147483647%"}),
        input(kOfficers, "身份=君主 特技~騎兵,智囊", {"skills=騎兵,智囊", "rank=0"}),
        input(kOfficers, "姓名~\"石 華\" 勢力!=0", {"given_name=大", "loyalty=max"}),
        input(kOfficers, "city_name=洛陽", {"money=*300%", "loyalty=min"}),
        input(kFamily, "壽命>=4611686018427387904", {"lifespan=+1"}),
        input(kFamily, "姓名!=\"\"", {"might=cap", "lifespan=+0.5"}),
        input(kNewOfficers, "壽命>=7.5", {"lifespan=-2.5", "biography=國"}),
        input(kNewOfficers, "", {"lifespan=+1073741823.5"}),
    };
}

}  // namespace varkel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace varkel;
    using namespace varkel::fuzz;
    FuzzInput in(data, size);
    const int which = in.byte() % kKindCount;
    const QString text = in.restAsUtf16();
    const qsizetype lineEnd = text.indexOf(QLatin1Char('\n'));
    const QString filterText = text.left(lineEnd);
    const QStringList typed = lineEnd < 0 ? QStringList()
                                          : text.mid(lineEnd + 1).split(QLatin1Char('\n'), Qt::SkipEmptyParts);

    Bound ours(which);
    RecordKind& kind = *ours.kind;
    FilterError error;
    const auto filter = RecordFilter::parse(kind, filterText, &error);
    if (!filter) {
        FUZZ_CHECK(!error.message.isEmpty());
        FUZZ_CHECK(error.position >= 0 && error.length >= 0 && error.position + error.length <= filterText.size());
        return 0;
    }
    const std::vector<int> picked = filter->select(kind);
    FUZZ_CHECK(std::is_sorted(picked.begin(), picked.end()) &&
               std::adjacent_find(picked.begin(), picked.end()) == picked.end());
    FUZZ_CHECK(picked.empty() || (picked.front() >= 0 && picked.back() < kind.count()));
    const auto twice = RecordFilter::parse(kind, filterText + QLatin1Char(' ') + filterText, nullptr);
    FUZZ_CHECK(twice && twice->select(kind) == picked);

    const auto assignments = ParseAssignments(kind, typed, &error);
    if (!assignments) {
        FUZZ_CHECK(!error.message.isEmpty());
        FUZZ_CHECK(error.position >= 0 && error.position < typed.size());
        return 0;
    }
    const BatchResult result = RunBatch(kind, *filter, *assignments);
    FUZZ_CHECK(result.outcomes.size() == picked.size());
    for (std::size_t i = 0; i < picked.size(); ++i) {
        const BatchOutcome& o = result.outcomes[i];
        FUZZ_CHECK(o.record == picked[i]);
        FUZZ_CHECK((o.result == BatchOutcome::Result::Refused) == !o.problem.isEmpty());
        FUZZ_CHECK((o.result == BatchOutcome::Result::Changed) == !o.changes.empty());
        // One sum, share or bound goes through the field's limits.
        if (o.result != BatchOutcome::Result::Changed || assignments->size() != 1)
            continue;
        const Assignment& a = assignments->front();
        const FieldSpec& field = *kind.fields()[a.field];
        if (field.kind != FieldKind::Number || a.change == Assignment::Change::Value)
            continue;
        const int now = kind.read(o.record)[a.field].number;
        FUZZ_CHECK(now >= field.lower.value_or(0) && now <= field.upper.value_or(field.storableMax) &&
                   now <= field.storableMax);
    }

    // Only the changed records' bytes moved, and another run does the same.
    const std::vector<int> changed = result.changedRecords();
    const Bound original(which);
    FUZZ_CHECK_BYTES(ours.file, original.file, owned(kind, changed, original.file.size()));
    if (which == kNewOfficers)
        FUZZ_CHECK_BYTES(ours.biographies, original.biographies,
                         ownedBiographies(changed, original.biographies.size()));
    Bound again(which);
    const BatchResult repeated = RunBatch(*again.kind, *filter, *assignments);
    FUZZ_CHECK(repeated.changedRecords() == changed &&
               repeated.count(BatchOutcome::Result::Refused) == result.count(BatchOutcome::Result::Refused));
    FUZZ_CHECK(again.file == ours.file && again.biographies == ours.biographies);
    return 0;
}
