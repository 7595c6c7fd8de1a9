// SaveGameEditor's file commands: reading a save over the open one (File > Open,
// the save slots, a dropped file) and writing it, here or under another name.
#include "saveeditor/ui/save_game_editor.h"

#include "saveeditor/ui/officer_panel.h"
#include "saveeditor/ui/save_reading.h"
#include "shared/texts.h"
#include "shared/ui/edit_state.h"
#include "shared/ui/file_commands.h"
#include "shared/ui/save_as.h"

#include <QDir>

#include <utility>

namespace varkel {

void SaveGameEditor::useFileCommands()
{
    EditorFile file;
    file.label = kSaveLabel;
    file.pattern = kSavePattern;
    file.path = [this] { return document_->path(); };
    file.modified = [this] { return modified(); };
    file.pending = [this] { return pendingEdits(); };
    file.open = [this](const QString& path) { return openSave(path, save::kOpenMinimumSize, Text::FileDamaged); };
    file.write = [this] { return writeSave(); };
    file.writeAs = [this](const QString& path) { return writeSaveAs(path); };
    file.opened = [this] { tickSlotMenu(); };
    file.keepsRecentFiles = true;
    files_ = std::make_unique<FileCommands>(session_, *state_, std::move(file));
}

void SaveGameEditor::tickSlotMenu()
{
    const int slot = SaveGame::slotOf(document_->path(), session_.gameFolder);
    for (int k = 0; k < save::kSlotCount; ++k)
        sSavSum[k]->setChecked(k == slot);
}

bool SaveGameEditor::writeSave()
{
    if (const auto error = document_->save(session_.files)) {
        ReportSaveFailure(session_, *state_, document_->path(), *error);
        return false;
    }
    state_->saved({document_->path()}, session_.files);
    return true;
}

bool SaveGameEditor::writeSaveAs(const QString& path)
{
    if (const auto error = document_->saveAs(session_.files, path)) {
        ReportSaveFailure(session_, *state_, path, *error);
        return false;
    }
    state_->saved({document_->path()}, session_.files);
    Label28->setText(GetResText(Text::FileLocation) + QDir::toNativeSeparators(document_->path()));
    tickSlotMenu();
    return true;
}

void SaveGameEditor::openPath(const QString& path)
{
    files_->openPath(path);
}

void SaveGameEditor::openSlot(int k)
{
    // The tick follows the open file whatever happens below.
    tickSlotMenu();
    files_->openWith([this, k] {
        return openSave(SaveGame::slotPath(session_.gameFolder, k), save::kSlotMinimumSize, Text::SlotNotFound);
    });
}

bool SaveGameEditor::openSave(const QString& path, qint64 minimumSize, int missingText)
{
    // Read aside first: a file refused here, or one the user chose not to open,
    // leaves the open save as it was.
    auto opened = ReadSaveToOpen(session_, path, minimumSize, missingText);
    if (opened)
        document_->open(std::move(*opened));
    return opened.has_value();
}

}  // namespace varkel
