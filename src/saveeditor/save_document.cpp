#include "saveeditor/save_document.h"

namespace varkel {

SaveDocument::SaveDocument(SaveGame save, ScenarioData scenario, QString scenarioPath, QObject* parent)
    : Document(parent),
      save_(std::move(save)),
      scenario_(std::move(scenario)),
      scenarioPath_(std::move(scenarioPath)),
      tables_(SaveTables::build(save_.bytes))
{
    startHistory({&save_.bytes, &scenario_.bytes});
}

bool SaveDocument::apply(SaveRecord kind, std::vector<int> records, QString name, const Edit& edit,
                         DocumentChange::Cause cause)
{
    DocumentChange change;
    change.cause = cause;
    change.kind = int(kind);
    change.records = std::move(records);
    return applyEdit(std::move(change), std::move(name), [&] { return edit(save_.bytes, scenario_); });
}

bool SaveDocument::applyEverywhere(QString name, const Edit& edit)
{
    return applyEdit(DocumentChange{}, std::move(name), [&] { return edit(save_.bytes, scenario_); });
}

void SaveDocument::open(SaveGame save)
{
    save_ = std::move(save);
    // Treasure attributes applied but not yet written stay unsaved over another save.
    startHistory({&save_.bytes, &scenario_.bytes}, {false, modified(kScenarioBuffer)});
    announceOpened();
}

void SaveDocument::rebuild(const std::vector<bool>& changed)
{
    if (changed[kSaveBuffer])
        tables_ = SaveTables::build(save_.bytes);
    // The treasure, city and rank names live in the scenario buffer.
    if (changed[kScenarioBuffer])
        scenario_ = ScenarioData::decode(QByteArray(scenario_.bytes));
}

std::optional<RuntimeError> SaveDocument::save(FileStore& files)
{
    auto error = save_.save(files);
    if (!error)
        markSaved(kSaveBuffer);
    return error;
}

std::optional<RuntimeError> SaveDocument::saveAs(FileStore& files, const QString& path)
{
    auto error = save_.saveAs(files, path);
    if (!error)
        markSaved(kSaveBuffer);
    return error;
}

std::optional<RuntimeError> SaveDocument::writeScenario(FileStore& files)
{
    auto error = files.write(scenarioPath_, scenario_.bytes, true);
    if (!error)
        markSaved(kScenarioBuffer);
    return error;
}

}  // namespace varkel
