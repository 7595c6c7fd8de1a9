#include "support/temp_game_folder.h"

#include "demo_folder/demo_folder.h"

#include <stdexcept>

namespace varkel::test {

TempGameFolder::TempGameFolder()
{
    const QString error = demo::WriteDemoGameFolder(path());
    if (!dir_.isValid() || !error.isEmpty())
        throw std::runtime_error((QStringLiteral("cannot write demo folder: ") + error).toStdString());
}

QString TempGameFolder::path() const
{
    return dir_.path() + QLatin1Char('/');
}

void EditorFixture::prepare()
{
    // The last test's session first: its picture banks map the last folder's main
    // data file, which Windows will not delete while it is mapped.
    session_ = Session();
    folder_ = std::make_unique<TempGameFolder>();
    temp_ = std::make_unique<QTemporaryDir>();
    prompter_ = ScriptedPrompter();
    dialogs_ = ScriptedFileDialogs();
    session_.prompter = &prompter_;
    session_.dialogs = &dialogs_;
    session_.gameFolder = folder_->path();
    session_.tempFolder = temp_->path() + QLatin1Char('/');
    session_.files = FileStore(temp_->path() + QStringLiteral("/backups"));
    session_.banks = PictureBanks::load(folder_->file(QStringLiteral("g_maindy.vk")));
}

}  // namespace varkel::test
