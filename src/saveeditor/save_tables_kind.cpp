#include "saveeditor/save_tables_kind.h"

#include "saveeditor/officer_record.h"
#include "saveeditor/save_layout.h"

namespace varkel {

namespace {

constexpr int kLeaderStatus = 0;
constexpr int kChieftainStatus = 5;

}  // namespace

SaveTablesKind::SaveTablesKind()
{
    own_ = {FieldSpec{}, FieldSpec{}, FieldSpec{}};
    own_[0].key = QStringLiteral("count");
    own_[1].key = QStringLiteral("officer");
    own_[2].key = QStringLiteral("name");
    own_[2].kind = FieldKind::Name;
    for (FieldSpec& f : own_) {
        f.readOnly = true;
        specs_.push_back(&f);
    }
}

void SaveTablesKind::load(QByteArray& file)
{
    tables_ = SaveTables::build(file);
    leaders_.assign(save::kForceNameCount, -1);
    for (int i = 0; i < tables_.officerCount; ++i) {
        const StatusBlock s = DecodeStatusBlock(file, save::statusBlock(i));
        if ((s.status == kLeaderStatus || s.status == kChieftainStatus) && s.force < save::kForceNameCount)
            leaders_[s.force] = i;
    }
}

int SaveTablesKind::count() const
{
    return 1 + save::kForceNameCount + save::kPlayerSlotCount;
}

std::pair<QString, int> SaveTablesKind::place(int n) const
{
    if (n == 0)
        return {QStringLiteral("officer_count"), 0};
    if (n <= save::kForceNameCount)
        return {QStringLiteral("force_leader"), n - 1};
    return {QStringLiteral("controlled_slot"), n - 1 - save::kForceNameCount};
}

QString SaveTablesKind::recordKind(int n) const
{
    return place(n).first;
}

QString SaveTablesKind::recordName(int n) const
{
    return read(n)[2].text;
}

std::vector<FieldValue> SaveTablesKind::read(int n) const
{
    const auto [table, k] = place(n);
    FieldValue countValue, officer, name;
    countValue.absent = officer.absent = true;
    if (table == QLatin1String("officer_count")) {
        countValue = FieldValue{tables_.officerCount, {}, {}};
        name.absent = true;
    } else if (table == QLatin1String("force_leader")) {
        name.text = tables_.forceNames[k];
        if (leaders_[k] >= 0)
            officer = FieldValue{leaders_[k], {}, {}};
    } else {
        const int m = tables_.controlled[k];
        if (m != save::kNoControlledOfficer) {
            officer = FieldValue{m, {}, {}};
            name.text = tables_.officerNames[m];
        }
    }
    return {countValue, officer, name};
}

std::optional<FieldProblem> SaveTablesKind::write(int, const std::map<std::size_t, FieldValue>&)
{
    return FieldProblem{{}, QStringLiteral("the derived tables follow the officers and are not written")};
}

}  // namespace varkel
