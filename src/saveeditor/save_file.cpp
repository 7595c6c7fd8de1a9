#include "saveeditor/save_file.h"

#include "saveeditor/save_layout.h"
#include "shared/bytes.h"
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
    setSize(*data, save::kStartupBufferSize);
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

QStringList SaveGame::shapeProblems(const QByteArray& bytes)
{
    // Month 0 is none the game writes, but the officer view stores what is typed
    // up to 12, so only a larger one tells.
    constexpr int kLastMonth = 12;
    QStringList problems;
    const int month = byteAt(bytes, save::kGameMonthOffset) >> 4;
    if (month > kLastMonth)
        problems << QStringLiteral("the game month is %1, beyond 12").arg(month);
    // The first entry at fault is enough to tell.
    for (int u = save::kFirstPersonNumber; u <= save::kLastPersonNumber; ++u) {
        const int officer = le16At(bytes, save::personMapEntry(u));
        if (officer >= save::kMaxOfficers && officer != save::kNoPerson) {
            problems << QStringLiteral("person %1 names officer %2, not 0..%3 or %4 for none")
                            .arg(u)
                            .arg(officer)
                            .arg(save::kMaxOfficers - 1)
                            .arg(save::kNoPerson);
            break;
        }
    }
    for (int k = 0; k < save::kPlayerSlotCount; ++k) {
        const int person = le16At(bytes, save::playerPerson(k));
        if ((person < save::kFirstPersonNumber || person > save::kLastPersonNumber) && person != save::kNoPerson) {
            problems << QStringLiteral("player slot %1 names person %2, not %3..%4 or %5 for none")
                            .arg(k)
                            .arg(person)
                            .arg(save::kFirstPersonNumber)
                            .arg(save::kLastPersonNumber)
                            .arg(save::kNoPerson);
            break;
        }
    }
    return problems;
}

}  // namespace varkel
