#include "shared/ui/save_as.h"

#include "shared/texts.h"
#include "shared/ui/edit_state.h"
#include "shared/ui/standard_error.h"

#include <QFileInfo>

namespace varkel {

bool SaveAs(Session& session, const QString& pattern, const std::function<bool(const QString& path)>& write)
{
    const QString path =
        ShowSaveDialog(*session.dialogs, {GetResText(244), pattern, GetResText(246), session.gameFolder});
    if (path.isEmpty())
        return false;
    if (QFileInfo::exists(path) && session.prompter->ask(GetResText(255), kEditorTitle, MessageButtons::YesNo,
                                                         MessageIcon::Question) != Answer::Yes)
        return false;
    return write(path);
}

void ReportSaveFailure(Session& session, EditState& state, const QString& path, const RuntimeError& error)
{
    state.saveFailed(path, error);
    ShowRuntimeError(*session.prompter, error);
}

}  // namespace varkel
