#include "gamefile/game_file.h"

#include "neweditor/biography_file.h"
#include "neweditor/new_officer_kind.h"
#include "neweditor/new_officer_layout.h"
#include "saveeditor/save_layout.h"
#include "saveeditor/save_tables.h"
#include "saveeditor/treasure_kind.h"
#include "shared/game_folder.h"

#include <QFileInfo>

namespace varkel {

namespace {

QString folderOf(const QString& path)
{
    return WithTrailingSeparator(QFileInfo(path).absolutePath());
}

// Why `size` bytes are no file of `kind` the editor opens; empty when they can be one.
QString wrongSize(GameFileKind kind, qint64 size)
{
    if (kind == GameFileKind::SavedGame && (size < save::kSlotMinimumSize || size > save::kMaximumSaveSize))
        return QStringLiteral("%1 bytes is no saved game the editor opens").arg(size);
    if (kind == GameFileKind::SystemSave && (size < system_save::kMinimumSize || size > system_save::kMaximumSize))
        return QStringLiteral("%1 bytes is no system save the editor opens").arg(size);
    return {};
}

}  // namespace

std::unique_ptr<GameFile> GameFile::open(FileStore& store, const QString& path, GameFolderFiles folder,
                                         SlotChoice slot, QString* error)
{
    std::unique_ptr<GameFile> file(new GameFile);
    file->path = path;
    file->folder_ = std::move(folder);
    file->slot_ = slot;
    RuntimeError failure;
    if (GameFileKindOf(path) == GameFileKind::Scenario) {
        const auto scenario = ReadScenarioFile(store, path, &failure);
        if (!scenario) {
            *error = failure.englishMessage();
            return nullptr;
        }
        file->fileKind = GameFileKind::Scenario;
        file->bytes = scenario->bytes;
        file->keepTail = true;
    } else {
        auto bytes = store.read(path, save::kMaximumSaveSize + 1, &failure);
        if (!bytes) {
            *error = failure.englishMessage();
            return nullptr;
        }
        file->fileKind = GameFileKindOf(path, bytes->size());
        if (const QString why = wrongSize(file->fileKind, bytes->size()); !why.isEmpty()) {
            *error = path + QStringLiteral(": ") + why;
            return nullptr;
        }
        file->bytes = std::move(*bytes);
    }
    file->asRead = file->bytes;
    file->readCompanions(store);
    file->bindKinds();
    return file;
}

HeldFile& GameFile::addCompanion(const QString& path, const QByteArray& bytes, bool keepTail)
{
    auto companion = std::make_unique<HeldFile>();
    companion->path = path;
    companion->bytes = companion->asRead = bytes;
    companion->keepTail = keepTail;
    companions.push_back(std::move(companion));
    return *companions.back();
}

void GameFile::readCompanions(FileStore& store)
{
    if (fileKind == GameFileKind::SavedGame) {
        // The editor opens the levels of controlled officers only; the bytes are there all the same.
        if (slot_.slot && SaveTables::build(bytes).controlled[std::size_t(*slot_.slot)] == save::kNoControlledOfficer)
            notes << QStringLiteral("player slot %1 controls no officer; its levels are shown as stored")
                         .arg(*slot_.slot);
        // Treasure attributes live in the game folder's scenario file.
        if (folder_.scenario)
            addCompanion(folder_.scenarioPath, folder_.scenario->bytes, true);
    } else if (fileKind == GameFileKind::Scenario) {
        folder_.treasureNotes = ReadTreasureNotes(folderOf(path)).value_or(QStringList());
    } else if (fileKind == GameFileKind::SystemSave) {
        // The biographies live beside the system save, as the game keeps them.
        BiographyFile biographies;
        if (const auto failure = biographies.open(store, folderOf(path)))
            notes << QStringLiteral("%1; the new officers' biographies are left out").arg(failure->englishMessage());
        else
            addCompanion(biographies.path, biographies.bytes, false);
    }
}

// The record kinds of each kind of file; a new record kind is one more line here.
void GameFile::bindKinds()
{
    QByteArray* companion = companions.empty() ? nullptr : &companions.front()->bytes;
    if (fileKind == GameFileKind::SavedGame)
        kinds = MakeSaveKinds(folder_.kindsContext(slot_.slot, slot_.special), companion);
    else if (fileKind == GameFileKind::Scenario)
        kinds.push_back(std::make_unique<TreasureKind>(nullptr, folder_.treasureNotes));
    else if (fileKind == GameFileKind::SystemSave)
        kinds.push_back(std::make_unique<NewOfficerKind>(companion));
    for (auto& kind : kinds)
        kind->load(bytes);
}

RecordKind* GameFile::kind(const QString& name)
{
    for (auto& k : kinds) {
        if (k->name() == name)
            return k.get();
        for (int n = 0; n < k->count(); ++n)
            if (k->recordKind(n) == name)
                return k.get();
    }
    return nullptr;
}

std::unique_ptr<GameFile> GameFile::asItWasRead() const
{
    std::unique_ptr<GameFile> file(new GameFile);
    file->path = path;
    file->bytes = file->asRead = asRead;
    file->keepTail = keepTail;
    file->fileKind = fileKind;
    for (const auto& companion : companions)
        file->addCompanion(companion->path, companion->asRead, companion->keepTail);
    file->notes = notes;
    file->folder_ = folder_;
    file->slot_ = slot_;
    file->bindKinds();
    return file;
}

std::optional<WriteFailure> GameFile::writeChanged(FileStore& store, const QString& target) const
{
    std::vector<std::pair<QString, const HeldFile*>> changed;
    if (this->changed())
        changed.emplace_back(target.isEmpty() ? path : target, this);
    for (const auto& companion : companions)
        if (companion->changed())
            changed.emplace_back(companion->path, companion.get());
    for (const auto& [to, file] : changed) {
        switch (store.diskState(to)) {
        case FileStore::DiskState::AsSeen:
            break;
        case FileStore::DiskState::Changed:
            return WriteFailure{to, QStringLiteral("another program (the game?) changed it since it was read; nothing "
                                                   "written"),
                                {}};
        case FileStore::DiskState::Gone:
            return WriteFailure{to, QStringLiteral("another program removed or moved it since it was read; nothing "
                                                   "written"),
                                {}};
        }
    }
    QStringList written;
    for (const auto& [to, file] : changed) {
        if (const auto error = store.write(to, file->bytes, file->keepTail))
            return WriteFailure{to, error->englishMessage(), written};
        written << to;
    }
    return std::nullopt;
}

}  // namespace varkel
