#include "support/temp_game_folder.h"

#include "demo_folder/demo_folder.h"

#include <stdexcept>

namespace varkel::test {

TempGameFolder::TempGameFolder()
{
    const QString error = demo::WriteDemoGameFolder(path());
    if (!dir_.isValid() || !error.isEmpty())
        throw std::runtime_error(("cannot write demo folder: " + error).toStdString());
}

QString TempGameFolder::path() const
{
    return dir_.path() + QLatin1Char('/');
}

void PrepareSession(Session& session, Prompter& prompter, FileDialogs& dialogs, const TempGameFolder& folder,
                    const QTemporaryDir& temp)
{
    session = Session();
    session.prompter = &prompter;
    session.dialogs = &dialogs;
    session.gameFolder = folder.path();
    session.tempFolder = temp.path() + QLatin1Char('/');
    session.files = FileStore(temp.path() + QStringLiteral("/backups"));
    session.banks = PictureBanks::load(folder.file(QStringLiteral("g_maindy.vk")));
}

}  // namespace varkel::test
