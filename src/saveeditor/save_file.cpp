#include "saveeditor/save_file.h"

#include "saveeditor/save_layout.h"
#include "shared/game_folder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace varkel {

QString SaveGame::slotPath(const QString& gameFolder, int digit)
{
    return GameFilePath(gameFolder, QStringLiteral("svd_0%1.sav").arg(digit));
}

int SaveGame::slotOf(const QString& path, const QString& gameFolder)
{
    auto clean = [](const QString& p) { return QDir::cleanPath(QDir::fromNativeSeparators(p)).toLower(); };
    const QString file = clean(path);
    for (int k = 0; k < save::kSlotCount; ++k) {
        if (file == clean(gameFolder + QStringLiteral("/svd_0%1.sav").arg(k)))
            return k;
    }
    return -1;
}

QString SaveGame::newestSlot(const QString& gameFolder)
{
    QString best;
    qint64 bestTime = 0;
    for (int k = 0; k < save::kSlotCount; ++k) {
        const QFileInfo info(slotPath(gameFolder, k));
        if (!info.isFile() || info.size() < save::kNewestSlotMinimumSize)
            continue;
        // File times count in whole seconds, so saves of the same second tie.
        const qint64 time = info.lastModified().toSecsSinceEpoch();
        if (best.isEmpty() || time > bestTime) {
            best = info.filePath();
            bestTime = time;
        }
    }
    return best;
}

SaveGame::Refusal SaveGame::openAtStartup(FileStore& store, const QString& file, RuntimeError* error)
{
    RuntimeError failure;
    auto data = store.read(file, save::kStartupBufferSize, &failure);
    if (!data) {
        if (error)
            *error = failure;
        return refusalOf(failure);
    }
    // A file that is shorter than the buffer grows with zeros when saved.
    data->resize(save::kStartupBufferSize, '\0');
    bytes = std::move(*data);
    path = file;
    return Refusal::None;
}

SaveGame::Refusal SaveGame::openWhole(FileStore& store, const QString& file, qint64 minimumSize, RuntimeError* error)
{
    return FileBuffer::openWhole(store, file, minimumSize, save::kMaximumSaveSize, error);
}

std::optional<RuntimeError> SaveGame::save(FileStore& store) const
{
    return store.write(path, bytes, true);
}

}  // namespace varkel
