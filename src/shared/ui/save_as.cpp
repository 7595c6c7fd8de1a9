#include "shared/ui/save_as.h"

#include "shared/texts.h"
#include "shared/ui/edit_state.h"
#include "shared/ui/standard_error.h"

#include <QDir>
#include <QFileInfo>

namespace varkel {

bool SaveAs(Session& session, const QString& label, const QString& pattern,
            const std::function<bool(const QString& path)>& write)
{
    const QString path =
        ShowSaveDialog(*session.dialogs, {label, pattern, GetResText(Text::SaveAsTitle), session.gameFolder});
    if (path.isEmpty())
        return false;
    if (QFileInfo::exists(path) && session.prompter->ask(GetResText(Text::ReplaceFile), kEditorTitle,
                                                         MessageButtons::YesNo, MessageIcon::Question) != Answer::Yes)
        return false;
    return write(path);
}

void ReportSaveFailure(Session& session, EditState& state, const QString& path, const RuntimeError& error)
{
    state.saveFailed(path, error);
    ShowRuntimeError(*session.prompter, error);
}

const char* const kWithoutBackupQuestion = "保存前無法備份原檔。\n\n%1\n\n不備份而繼續保存嗎？";

void AskBeforeSavingWithoutBackup(Session& session)
{
    Prompter* prompter = session.prompter;
    session.files.setWithoutBackupQuestion([prompter](const FileStore::BackupFailure& failure) {
        const QString where = QDir::toNativeSeparators(failure.error.subject);
        const QString why =
            failure.why == FileStore::BackupFailure::Why::UnsafeFolder
                ? QStringLiteral("備份文件夾 %1 不能安全使用：它不是本用戶自己的普通文件夾（例如是一個連結）。")
                      .arg(where)
                : QStringLiteral("無法寫入備份 %1，磁碟可能已滿。").arg(where);
        return prompter->ask(QString::fromUtf8(kWithoutBackupQuestion).arg(why), kEditorTitle,
                             MessageButtons::YesNoDefaultNo, MessageIcon::Warning) == Answer::Yes;
    });
}

}  // namespace varkel
