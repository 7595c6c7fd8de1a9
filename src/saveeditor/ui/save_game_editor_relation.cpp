// SaveGameEditor's relationship commands: showing a relationship, changing its parties
// through the officer picker, and the intimacy editor of a controlled officer.
#include "saveeditor/ui/save_game_editor.h"
#include "saveeditor/ui/intimacy_editor.h"
#include "saveeditor/ui/relation_panel.h"
#include "shared/ui/pickers.h"

#include <QDialog>
#include <QListWidget>

#include <algorithm>

namespace varkel {

void SaveGameEditor::List3_Click(int i)
{
    relationPanel()->showRelation(document_->bytes(), tables(), i);
}

void SaveGameEditor::Command12_Click(int p)
{
    const Relation& r = relationPanel()->current();
    const int party = p == 0 ? r.a : p == 1 ? r.b : r.c;
    // Cancelled, or the same officer picked: the party stays.
    if (const auto picked = Pick(picker_, PickerKind::Officer, party, this); picked && *picked != party)
        relationPanel()->setParty(document_->bytes(), tables(), p, *picked);
}

void SaveGameEditor::Command10_Click()
{
    const int officer = List1->currentRow();
    const auto& controlled = tables().controlled;
    const auto slot = std::find(controlled.begin(), controlled.end(), officer);
    if (officer < 0 || slot == controlled.end())
        return;
    IntimacyEditor intimacy(session_, *document_, int(slot - controlled.begin()), this);
    runSideWindow(intimacy);
}

}  // namespace varkel
