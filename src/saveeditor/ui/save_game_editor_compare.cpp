// SaveGameEditor's File > 比較存檔 and 備份記錄: the open save against another save or a backup.
#include "saveeditor/save_file.h"
#include "saveeditor/save_layout.h"
#include "saveeditor/ui/backups_window.h"
#include "saveeditor/ui/compare_window.h"
#include "saveeditor/ui/save_game_editor.h"
#include "shared/file_io.h"
#include "shared/texts.h"
#include "shared/ui/edit_state.h"
#include "shared/ui/standard_error.h"
#include "shared/ui/unlike_file.h"

#include <QDir>

namespace varkel {

void SaveGameEditor::tCompare_Click()
{
    const QString path = ShowOpenDialog(*session_.dialogs, {kSaveLabel, QStringLiteral("*.sav *.sav.*"),
                                                            QStringLiteral("比較存檔"), session_.gameFolder});
    if (!path.isEmpty())
        compareWith(path);
}

bool SaveGameEditor::compareWith(const QString& path)
{
    RuntimeError error;
    const auto bytes = ReadRegularFile(path, save::kMaximumSaveSize + 1, &error, session_.files.io());
    if (!bytes) {
        ShowRuntimeError(*session_.prompter, error);
        return false;
    }
    if (bytes->size() < save::kOpenMinimumSize || bytes->size() > save::kMaximumSaveSize) {
        session_.prompter->tell(
            QStringLiteral("%1 不是可以比較的存檔（%2 字節）。").arg(QDir::toNativeSeparators(path)).arg(bytes->size()),
            QStringLiteral("比較存檔"), MessageIcon::Warning);
        return false;
    }
    // A file of another kind would compare as thousands of meaningless differences.
    if (!MayOpenUnlikeFile(*session_.prompter, SaveGame::shapeProblems(*bytes), kUnlikeSaveQuestion))
        return false;
    auto* window = new CompareWindow(
        session_, *document_, kindsContext(), path, *bytes, [this](SaveRecord kind, int n) { showSaveRecord(kind, n); },
        this);
    state_->shareWith(*window);
    window->show();
    window->raise();
    window->activateWindow();
    return true;
}

void SaveGameEditor::tBackups_Click()
{
    auto* window =
        new BackupsWindow(session_, *document_, [this](const QString& backup) { compareWith(backup); }, this);
    state_->shareWith(*window);
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace varkel
