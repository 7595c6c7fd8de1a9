#pragma once

#include "saveeditor/save_file.h"
#include "saveeditor/save_tables.h"
#include "shared/document.h"
#include "shared/file_store.h"
#include "shared/runtime_error.h"

#include <functional>
#include <optional>
#include <vector>

namespace varkel {

// The kinds of record an edit of a saved game names in its change.
enum class SaveRecord {
    Officer,     // an officer's status block and person block
    Control,     // who is controlled, and whether an officer appears
    Treasure,    // a treasure's owner and its attributes in the scenario file
    Relation,
    Family,
    City,
    Force,
    Intimacy,    // records are controlled-officer slots
};

// An open saved game with the scenario file its treasure attributes live in, and
// the tables worked out from the save (names, forces, controlled officers), which
// follow every change of its bytes.
class SaveDocument : public Document {
    Q_OBJECT
public:
    enum Buffer { kSaveBuffer = 0, kScenarioBuffer = 1 };

    // `scenario` was read from `scenarioPath`.
    SaveDocument(SaveGame save, ScenarioData scenario, QString scenarioPath = {}, QObject* parent = nullptr);

    QString path() const override { return save_.path; }
    QString scenarioPath() const { return scenarioPath_; }
    const SaveGame& save() const { return save_; }
    const QByteArray& bytes() const { return save_.bytes; }
    const ScenarioData& scenario() const { return scenario_; }
    const SaveTables& tables() const { return tables_; }

    // A checked write of records: changes the buffers and returns true, or
    // refuses (false) having reported why.
    using Edit = std::function<bool(QByteArray& save, ScenarioData& scenario)>;
    // Runs `edit` as one undo step called `name`, announced as a change of
    // `records` of `kind`. A refused edit leaves both buffers as they were. False
    // when refused.
    bool apply(SaveRecord kind, std::vector<int> records, QString name, const Edit& edit,
               DocumentChange::Cause cause = DocumentChange::Cause::Apply);
    // Runs `edit` as one undo step announced as a change of everything, for edits
    // of records of several kinds made outside the views (values taken over from
    // another save, mends of its problems): every view reads them afresh.
    bool applyEverywhere(QString name, const Edit& edit);

    // Another saved game in place of the open one; scenario changes not yet
    // written stay unsaved. The history starts afresh.
    void open(SaveGame save);
    // Writes the save over its path (keeping the tail of a longer file) / to
    // `path`, which becomes its path; the scenario buffer over the scenario file,
    // keeping its tail. A failed write keeps the unsaved state.
    std::optional<RuntimeError> save(FileStore& files);
    std::optional<RuntimeError> saveAs(FileStore& files, const QString& path);
    std::optional<RuntimeError> writeScenario(FileStore& files);

private:
    void rebuild(const std::vector<bool>& changed) override;

    SaveGame save_;
    ScenarioData scenario_;
    QString scenarioPath_;
    SaveTables tables_;
};

}  // namespace varkel
