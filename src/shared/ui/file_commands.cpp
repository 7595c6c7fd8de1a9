#include "shared/ui/file_commands.h"

#include "shared/recent_files.h"
#include "shared/texts.h"
#include "shared/ui/control_names.h"
#include "shared/ui/edit_state.h"
#include "shared/ui/outside_change.h"
#include "shared/ui/save_as.h"

#include <QAction>
#include <QDir>
#include <QMenu>

namespace varkel {

FileCommands::FileCommands(Session& session, EditState& state, EditorFile file)
    : session_(session), state_(state), file_(std::move(file))
{
    // Typed edits applied at the question are kept: the undo stops there, and the
    // next one takes them back.
    state_.setMayRestore([this] {
        bool applied = false;
        return mayLeaveRecord(&applied) && !applied;
    });
}

void FileCommands::open()
{
    if (!mayLeaveRecord() || !savePrompt())
        return;
    const QString path = ShowOpenDialog(
        *session_.dialogs, {file_.label, file_.pattern, GetResText(Text::OpenFileTitle), session_.gameFolder});
    if (!path.isEmpty() && file_.open(path))
        afterOpen();
}

void FileCommands::openPath(const QString& path)
{
    openWith([this, &path] { return file_.open(path); });
}

void FileCommands::openWith(const std::function<bool()>& read)
{
    if (mayLeaveRecord() && savePrompt() && read())
        afterOpen();
}

void FileCommands::save()
{
    if (MaySaveWithPendingEdits(*session_.prompter, file_.pending()))
        writeHere();
}

void FileCommands::saveAs()
{
    if (MaySaveWithPendingEdits(*session_.prompter, file_.pending()))
        writeElsewhere();
}

bool FileCommands::mayClose(const std::function<bool()>& more)
{
    return mayLeaveRecord() && (!more || more()) && savePrompt();
}

bool FileCommands::mayLeaveRecord(bool* applied)
{
    return MayLeaveRecord(*session_.prompter, file_.pending(), applied);
}

bool FileCommands::savePrompt()
{
    // A save that failed was reported; the command stops so nothing is lost. "No"
    // lets the command go on but keeps the changes marked until another file is
    // open, so a cancelled open loses nothing.
    return !file_.modified() ||
           session_.prompter->askToDo(GetResText(Text::SaveChanges), kEditorTitle, [this] { return writeHere(); });
}

bool FileCommands::writeHere()
{
    return SaveAskingAboutOutsideChange(session_, file_.path(), file_.write, [this] { return writeElsewhere(); });
}

bool FileCommands::writeElsewhere()
{
    return SaveAs(session_, file_.label, file_.pattern, [this](const QString& path) {
        if (!file_.writeAs(path))
            return false;
        listRecent();
        return true;
    });
}

void FileCommands::afterOpen()
{
    if (file_.opened)
        file_.opened();
    listRecent();
}

void FileCommands::listRecent()
{
    if (!file_.keepsRecentFiles)
        return;
    if (const auto failure = AddRecentFile(session_.settingsPath, file_.path(), session_.files.io()))
        state_.notKept(QStringLiteral("最近打開的文件列表"), *failure);
}

void FileCommands::fillRecentMenu(QMenu& menu)
{
    menu.clear();
    const QStringList files = ExistingRecentFiles(session_.settingsPath);
    for (int i = 0; i < files.size(); ++i) {
        QAction* item = menu.addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(files[i])));
        item->setObjectName(indexed("tRecentFile", i));
        QObject::connect(item, &QAction::triggered, &menu, [this, path = files[i]] { openPath(path); });
    }
    menu.setEnabled(!files.isEmpty());
}

}  // namespace varkel
