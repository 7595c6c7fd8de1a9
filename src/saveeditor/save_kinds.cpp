#include "saveeditor/save_kinds.h"

#include "saveeditor/city_kind.h"
#include "saveeditor/family_kind.h"
#include "saveeditor/force_kind.h"
#include "saveeditor/intimacy_kind.h"
#include "saveeditor/officer_kind.h"
#include "saveeditor/relation_kind.h"
#include "saveeditor/save_tables_kind.h"
#include "saveeditor/treasure_kind.h"

namespace varkel {

std::unique_ptr<RecordKind> MakeSaveKind(SaveRecord kind, const SaveKindsContext& context, QByteArray* scenario)
{
    switch (kind) {
    case SaveRecord::Officer:
        return std::make_unique<OfficerKind>(context.cityNames);
    case SaveRecord::City:
        return std::make_unique<CityKind>(context.cityNames);
    case SaveRecord::Force:
        return std::make_unique<ForceKind>(context.courtRanks);
    case SaveRecord::Family:
        return std::make_unique<FamilyKind>();
    case SaveRecord::Relation:
        return std::make_unique<RelationKind>();
    case SaveRecord::Treasure:
        // Treasure attributes live in the game folder's scenario file.
        if (scenario)
            return std::make_unique<TreasureKind>(scenario, context.treasureNotes);
        return nullptr;
    case SaveRecord::Control:
    case SaveRecord::Intimacy:
        break;
    }
    return nullptr;
}

std::optional<SaveRecord> SaveRecordNamed(const QString& kindName)
{
    for (const SaveRecord kind : {SaveRecord::Officer, SaveRecord::City, SaveRecord::Force, SaveRecord::Family,
                                  SaveRecord::Relation, SaveRecord::Treasure}) {
        QByteArray scenario;
        if (MakeSaveKind(kind, {}, &scenario)->name() == kindName)
            return kind;
    }
    return std::nullopt;
}

QString SaveRecordCaption(SaveRecord kind)
{
    switch (kind) {
    case SaveRecord::Officer:
        return QStringLiteral("武將");
    case SaveRecord::Treasure:
        return QStringLiteral("寶物");
    case SaveRecord::Relation:
        return QStringLiteral("人物關系");
    case SaveRecord::Family:
        return QStringLiteral("家庭成員");
    case SaveRecord::City:
        return QStringLiteral("都市");
    case SaveRecord::Force:
        return QStringLiteral("勢力");
    case SaveRecord::Control:
        return QStringLiteral("擔當武將");
    case SaveRecord::Intimacy:
        return QStringLiteral("親密度");
    }
    return {};
}

RecordKinds MakeSaveKinds(const SaveKindsContext& context, QByteArray* scenario)
{
    RecordKinds kinds;
    kinds.push_back(MakeSaveKind(SaveRecord::Officer, context, scenario));
    kinds.push_back(MakeSaveKind(SaveRecord::City, context, scenario));
    // Before the tables, whose force rows are records of kind "force" too: a force
    // named by its record kind is a force record.
    kinds.push_back(MakeSaveKind(SaveRecord::Force, context, scenario));
    kinds.push_back(std::make_unique<SaveTablesKind>());
    kinds.push_back(MakeSaveKind(SaveRecord::Family, context, scenario));
    kinds.push_back(MakeSaveKind(SaveRecord::Relation, context, scenario));
    if (context.intimacySlot)
        kinds.push_back(std::make_unique<IntimacyKind>(*context.intimacySlot, context.specialIntimacy));
    if (scenario)
        kinds.push_back(MakeSaveKind(SaveRecord::Treasure, context, scenario));
    return kinds;
}

bool ApplySaveEdits(SaveDocument& document, QString name, const SaveKindsContext& context,
                    const std::vector<RecordEdit>& edits, std::vector<EditRefusal>* refused)
{
    std::vector<EditRefusal> refusals;
    const bool stored = document.applyEverywhere(std::move(name), [&](QByteArray& save, ScenarioData& scenario) {
        const RecordKinds kinds = MakeSaveKinds(context, &scenario.bytes);
        for (const auto& kind : kinds)
            kind->load(save);
        refusals = ApplyRecordEdits(kinds, edits);
        return refusals.size() < edits.size();
    });
    if (refused)
        *refused = std::move(refusals);
    return stored;
}

}  // namespace varkel
