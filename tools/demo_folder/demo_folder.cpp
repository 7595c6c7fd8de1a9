#include "demo_folder/demo_folder.h"

#include "demo_folder/demo_game_files.h"
#include "demo_folder/demo_layout.h"
#include "demo_folder/demo_pictures.h"
#include "demo_folder/demo_save.h"
#include "shared/picture_banks.h"

#include <QDir>
#include <QFile>

namespace varkel::demo {

namespace {

QString writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        return QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
    file.close();
    return {};
}

QString setModified(const QString& path, const QDateTime& time)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite) || !file.setFileTime(time, QFileDevice::FileModificationTime))
        return QStringLiteral("cannot date %1: %2").arg(path, file.errorString());
    return {};
}

// "g_maindy.vk" is large but holds only the two banks the editor reads: the file
// is sized first, so the rest stays a hole on file systems that allow one.
QString writeMainData(const QString& path)
{
    QFile file(path);
    const QByteArray faces = MakeFaceBank();
    const QByteArray treasures = MakeTreasureBank();
    const bool ok = file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.resize(kMainDataMinimumSize) &&
                    file.seek(kFaceBankOffset) && file.write(faces) == faces.size() && file.seek(kTreasureBankOffset) &&
                    file.write(treasures) == treasures.size();
    if (!ok)
        return QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
    return {};
}

}  // namespace

QString WriteDemoGameFolder(const QString& folder)
{
    if (!QDir().mkpath(folder))
        return QStringLiteral("cannot create %1").arg(folder);
    const QDir dir(folder);
    for (const SlotPlan& plan : SlotPlans()) {
        const QString path = dir.filePath(QStringLiteral("svd_0%1.sav").arg(plan.slot));
        QString error = writeFile(path, MakeSavedGame(plan));
        if (error.isEmpty())
            error = setModified(path, plan.modified);
        if (!error.isEmpty())
            return error;
    }
    const struct {
        const char* name;
        QByteArray (*make)();
    } files[] = {
        {"Svd_sys.sav", MakeSystemSave}, {"RDText.vk", MakeBiographyFile},     {"d_sce.vk", MakeScenario},
        {"m_msg.vk", MakeMessages},      {"Selgame.vk", MakeBackgroundBitmap},
    };
    for (const auto& f : files) {
        const QString error = writeFile(dir.filePath(QString::fromLatin1(f.name)), f.make());
        if (!error.isEmpty())
            return error;
    }
    return writeMainData(dir.filePath(QStringLiteral("g_maindy.vk")));
}

}  // namespace varkel::demo
