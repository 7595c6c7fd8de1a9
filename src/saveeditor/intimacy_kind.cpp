#include "saveeditor/intimacy_kind.h"

#include "saveeditor/save_tables.h"
#include "shared/field_table.h"

namespace varkel {

using namespace intimacy;

namespace {

constexpr std::size_t kLevelField = 2;  // after the slot and the officer

const std::vector<RecordField<IntimacyLevel>>& levelFields()
{
    static const std::vector<RecordField<IntimacyLevel>> fields = [] {
        FieldTable<IntimacyLevel> t;
        const auto none = std::nullopt;
        // Which slot and officer a position belongs to follow from the save; only the level is edited.
        const auto slot = [](auto& r) -> auto& { return r.slot; };
        const auto officer = [](auto& r) -> auto& { return r.officer; };
        t.number("slot", "", QStringLiteral("玩家欄"), 1, none, none, save::kPlayerSlotCount - 1, slot).readOnly = true;
        t.number("officer", "", QStringLiteral("武將"), 4, none, none, save::kNoPerson, officer).readOnly = true;
        t.choice("level", "親密度", IntimacyLevelItems(), [](auto& r) -> auto& { return r.level; }).control =
            QStringLiteral("Combo1");
        return std::move(t.fields);
    }();
    return fields;
}

}  // namespace

IntimacyKind::IntimacyKind(int slot, bool special)
    : TableKind(QStringLiteral("intimacy"), special ? QStringLiteral("special_intimacy") : QStringLiteral("intimacy"),
                levelFields()),
      slot_(slot),
      special_(special),
      stream_(IntimacyStream(slot, special))
{
}

void IntimacyKind::loaded()
{
    const SaveTables tables = SaveTables::build(file());
    officerNames_ = tables.officerNames;
    rows_ = stream_.count == 0 ? 0 : special_ ? kSpecialPositions : GeneralListRows(tables.officerCount);
}

int IntimacyKind::officerAt(int n) const
{
    const auto officer = special_ ? SpecialPositionOfficer(n) : GeneralPositionOfficer(file(), n);
    return officer.value_or(save::kNoPerson);
}

QString IntimacyKind::recordName(int n) const
{
    return officerNames_.value(officerAt(n));
}

IntimacyLevel IntimacyKind::decode(int n) const
{
    return {slot_, officerAt(n), stream_.read(file(), n).value_or(0)};
}

std::vector<std::pair<QString, QString>> IntimacyKind::namedTexts(int n) const
{
    return {{QStringLiteral("officer_name"), recordName(n)}};
}

std::optional<FieldProblem> IntimacyKind::store(int n, IntimacyLevel& r, const Changes& changes)
{
    // Only the level is stored: the slot and the officer follow from the save.
    if (changes.count(kLevelField) && !stream_.write(file(), n, r.level))
        return FieldProblem{levelFields()[kLevelField].control,
                            QStringLiteral("level: position %1 cannot hold %2").arg(n).arg(r.level)};
    return std::nullopt;
}

std::vector<RecordKind::Extent> IntimacyKind::extents(int n) const
{
    // The bytes the level's five bits lie in.
    const qsizetype first = qsizetype(n) * kLevelBits;
    const qsizetype last = first + kLevelBits - 1;
    return {{stream_.offset + first / 8, last / 8 - first / 8 + 1}};
}

std::optional<int> IntimacyKind::recordAbout(int officer) const
{
    const auto position = special_ ? SpecialPositionOf(officer) : GeneralPositionOf(file(), rows_, officer);
    return position.value_or(-1);
}

}  // namespace varkel
