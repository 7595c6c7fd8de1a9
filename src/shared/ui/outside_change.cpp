#include "shared/ui/outside_change.h"

#include <QDir>

namespace varkel {

OutsideChange AskAboutOutsideChange(Session& session, const QString& path, bool offerSaveElsewhere)
{
    const FileStore::DiskState state = session.files.diskState(path);
    if (state == FileStore::DiskState::AsSeen)
        return OutsideChange::Overwrite;
    const QString file = QDir::toNativeSeparators(path);
    const bool gone = state == FileStore::DiskState::Gone;
    const QString what = gone ? QStringLiteral("文件 %1 已經不存在（可能被其他程序刪除或移走）。\n\n").arg(file)
                              : QStringLiteral("文件 %1 在讀入之後已被其他程序（可能是游戲）修改。\n\n").arg(file);
    const QString yes = gone ? QStringLiteral("是：重新寫入該文件\n") : QStringLiteral("是：覆蓋該文件\n");
    // Enter never writes over what the other program wrote: the default is not to save.
    if (!offerSaveElsewhere)
        return session.prompter->ask(what + yes + QStringLiteral("否：不保存"), kEditorTitle,
                                     MessageButtons::YesNoDefaultNo, MessageIcon::Warning) == Answer::Yes
                   ? OutsideChange::Overwrite
                   : OutsideChange::Cancel;
    const QString text = what + yes + QStringLiteral("否：另存為其他文件\n取消：不保存");
    switch (session.prompter->ask(text, kEditorTitle, MessageButtons::YesNoCancelDefaultCancel, MessageIcon::Warning)) {
    case Answer::Yes:
        return OutsideChange::Overwrite;
    case Answer::No:
        return OutsideChange::SaveElsewhere;
    default:
        return OutsideChange::Cancel;
    }
}

bool SaveAskingAboutOutsideChange(Session& session, const QString& path, const std::function<bool()>& write,
                                  const std::function<bool()>& saveAs)
{
    switch (AskAboutOutsideChange(session, path)) {
    case OutsideChange::Cancel:
        return false;
    case OutsideChange::SaveElsewhere:
        return saveAs();
    case OutsideChange::Overwrite:
        break;
    }
    return write();
}

}  // namespace varkel
