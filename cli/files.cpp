#include "files.h"

#include "neweditor/system_save.h"
#include "reports.h"
#include "saveeditor/save_file.h"
#include "saveeditor/save_layout.h"
#include "shared/game_folder.h"
#include "shared/ini_file.h"


#include <ostream>
#include <sstream>

namespace varkel::cli {

namespace {

GameFolderFiles folderFilesFor(FileStore& files, const Options& options, std::ostream& err, bool needed)
{
    const QString folder = GameFolderFor(options.gameFolder, options.programFolder);
    if (folder.isEmpty() && needed)
        err << "varkel-cli: note: no game folder with d_sce.vk (--game-folder); "
               "city names and treasures are left out\n";
    return ReadGameFolderFiles(files, folder);
}

}  // namespace

QString GameFolderFor(const QString& chosen, const QString& programFolder)
{
    QString folder = chosen;
    if (folder.isEmpty())
        folder = ReadIniValue(SettingsFilePath(programFolder), kSettingsSection, kSettingsKey, DefaultGameFolder());
    if (folder.isEmpty() || !GameFileExists(folder, QStringLiteral("d_sce.vk")))
        return {};
    return WithTrailingSeparator(folder);
}

FileStore WritingStore(const Options& options, std::ostream& err)
{
    FileStore files(options.backupFolder);
    files.setBackupLimits(ReadBackupLimits(SettingsFilePath(options.programFolder)));
    files.setBackupNotices([&err](const BackupNotice& notice) {
        if (notice.kind == BackupNotice::Kind::WaitingForIndex)
            err << "varkel-cli: note: waiting for " << notice.detail << " to finish with the backup index\n";
        else
            err << "varkel-cli: warning: the backup index cannot be written (" << notice.detail
                << "); backups are kept, their origin unknown\n";
    });
    files.setWithoutBackupQuestion([&options, &err](const FileStore::BackupFailure& failure) {
        err << "varkel-cli: " << (options.noBackup ? "note" : "error")
            << ": no backup can be made: " << failure.error.englishMessage()
            << (options.noBackup ? "; writing without one (--no-backup)\n" : "; --no-backup writes without one\n");
        return options.noBackup;
    });
    return files;
}

QString Unlikeness(GameFileKind kind, const QByteArray& bytes)
{
    QStringList problems;
    QString name;
    if (kind == GameFileKind::SavedGame) {
        problems = SaveGame::shapeProblems(bytes);
        name = QStringLiteral("a saved game");
    } else if (kind == GameFileKind::SystemSave) {
        problems = SystemSave::shapeProblems(bytes);
        name = QStringLiteral("a system save");
    }
    if (problems.isEmpty())
        return {};
    return QStringLiteral("does not look like %1: %2; --force opens it all the same")
        .arg(name, problems.join(QStringLiteral("; ")));
}

std::unique_ptr<GameFile> OpenGameFile(FileStore& files, const QString& path, const Options& options,
                                       std::ostream& err, bool namesNeeded)
{
    if (options.slot && (*options.slot < 0 || *options.slot >= save::kPlayerSlotCount)) {
        Refuse(err, path, QStringLiteral("--slot %1: player slots are 0..7").arg(*options.slot));
        return nullptr;
    }
    QString error;
    // Only a saved game takes names and treasures from the game folder. What is
    // noted about the folder follows only a file that is read: a refusal is one line.
    const bool savedGame = GameFileKindOf(path) == GameFileKind::SavedGame;
    std::ostringstream notes;
    auto file = GameFile::open(files, path,
                               savedGame ? folderFilesFor(files, options, notes, namesNeeded) : GameFolderFiles{},
                               SlotChoice{options.slot, options.special}, &error);
    if (!file) {
        err << "varkel-cli: " << error << '\n';
        return nullptr;
    }
    if (!options.force) {
        if (const QString why = Unlikeness(file->fileKind, file->bytes); !why.isEmpty()) {
            Refuse(err, path, why);
            return nullptr;
        }
    }
    err << notes.str();
    if (file->kinds.empty()) {
        err << "varkel-cli: " << path << ": a " << GameFileKindName(file->fileKind)
            << " holds no records this tool knows yet\n";
        return nullptr;
    }
    return file;
}

int StoreEdit(FileStore& files, const GameFile& file, const Options& options, const std::string& report,
              std::ostream& out, std::ostream& err)
{
    if (!options.output.isEmpty()) {
        for (const auto& companion : file.companions)
            if (companion->changed())
                return Refuse(err, file.path,
                              QStringLiteral("the edit changes %1 too, which cannot be written to --output; "
                                             "leave out --output")
                                  .arg(companion->path));
    }
    out << report;
    if (options.dryRun)
        return kDone;
    if (const auto failure = file.writeChanged(files, options.output)) {
        QString why = failure->why;
        if (!failure->written.isEmpty())
            why += QStringLiteral(" (written already: %1)").arg(failure->written.join(QStringLiteral(", ")));
        return Refuse(err, failure->path, why);
    }
    return kDone;
}

}  // namespace varkel::cli
