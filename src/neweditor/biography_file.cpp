#include "neweditor/biography_file.h"

#include "shared/game_folder.h"

namespace varkel {

QString BiographyFile::defaultPath(const QString& gameFolder)
{
    return GameFilePath(gameFolder, system_save::kBiographyFileName);
}

std::optional<RuntimeError> BiographyFile::open(FileStore& store, const QString& gameFolder)
{
    const QString file = defaultPath(gameFolder);
    RuntimeError error;
    switch (openWhole(store, file, 0, system_save::kBiographyFileMaximumSize, &error)) {
    case Refusal::None:
        return std::nullopt;
    case Refusal::WrongSize:
        return RuntimeError::fileAccess(
            file, QStringLiteral("larger than %1 bytes").arg(system_save::kBiographyFileMaximumSize));
    case Refusal::Missing:
    case Refusal::Unreadable:
        break;
    }
    return error;
}

std::optional<RuntimeError> BiographyFile::save(FileStore& store) const
{
    return store.write(path, bytes, false);
}

QString BiographyFile::biography(int i) const
{
    return DecodeBiography(bytes, system_save::biographyRecord(i));
}

std::optional<BiographyProblem> BiographyFile::setBiography(int i, const QString& text)
{
    return EncodeBiography(bytes, system_save::biographyRecord(i), text);
}

}  // namespace varkel
