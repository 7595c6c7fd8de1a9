#pragma once

#include "saveeditor/save_document.h"
#include "shared/file_compare.h"

#include <QByteArray>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

namespace varkel {

// What the record kinds of a saved game take from beside it: names from the
// scenario file and the treasure notes, and which player slot's intimacy levels
// are records too.
struct SaveKindsContext {
    QStringList cityNames;
    QStringList courtRanks;
    QStringList treasureNotes;
    std::optional<int> intimacySlot;
    bool specialIntimacy = false;  // the levels toward the seven special persons
};

// The record kind with a field table that edits the document's records of `kind`,
// unbound; nothing for the kinds without one (control, intimacy) and for the
// treasures without `scenario`, their attributes.
std::unique_ptr<RecordKind> MakeSaveKind(SaveRecord kind, const SaveKindsContext& context, QByteArray* scenario);

// The document's name for the records of the kind named `kindName` ("officers"),
// for the kinds MakeSaveKind makes; nothing for the others.
std::optional<SaveRecord> SaveRecordNamed(const QString& kindName);

// How the windows name the records of `kind`: "武將", "寶物", ...
QString SaveRecordCaption(SaveRecord kind);

// The record kinds of a saved game, unbound, in the order the command line lists
// them: officers, cities, forces, the worked-out tables, family, relationships,
// the intimacy levels of the chosen slot, and the treasures, whose attributes are
// `scenario` (none without it). Two saves given the same context have the same kinds at
// the same places, so edits made over one list's comparison apply to the other's.
RecordKinds MakeSaveKinds(const SaveKindsContext& context, QByteArray* scenario);

// Makes `edits` (over kinds made with `context`) to `document` as one undo step
// called `name`, announced as a change of everything: each record whole or not at
// all. False when nothing was stored; `refused` gets the refusals.
bool ApplySaveEdits(SaveDocument& document, QString name, const SaveKindsContext& context,
                    const std::vector<RecordEdit>& edits,
                    std::vector<EditRefusal>* refused = nullptr);

}  // namespace varkel
