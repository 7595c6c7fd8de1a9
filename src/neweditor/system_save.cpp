#include "neweditor/system_save.h"

#include "person/person_block.h"
#include "person/person_layout.h"
#include "shared/bytes.h"
#include "shared/game_folder.h"
#include "shared/picture_banks.h"

namespace varkel {

QString SystemSave::defaultPath(const QString& gameFolder)
{
    return GameFilePath(gameFolder, system_save::kFileName);
}

SystemSave::Refusal SystemSave::open(FileStore& store, const QString& file, RuntimeError* error)
{
    return openWhole(store, file, system_save::kMinimumSize, system_save::kMaximumSize, error);
}

std::optional<RuntimeError> SystemSave::save(FileStore& store) const
{
    return store.write(path, bytes, false);
}

MemberRecord SystemSave::officer(int i) const
{
    return DecodeMemberRecord(bytes, system_save::record(i));
}

void SystemSave::setOfficer(int i, const MemberRecord& record)
{
    EncodeMemberRecord(bytes, system_save::record(i), record);
}

QString SystemSave::officerName(int i) const
{
    return ReadFullName(bytes, system_save::record(i));
}

QStringList SystemSave::shapeProblems(const QByteArray& bytes)
{
    for (int i = 0; i < system_save::kRecordCount; ++i) {
        const qsizetype r = system_save::record(i);
        const int face = le16At(bytes, r + person::kFace);
        // The first record at fault is enough to tell.
        if (face >= kFaceCount && !ReadFullName(bytes, r).isEmpty())
            return {QStringLiteral("new officer %1 has face %2, beyond the %3 faces of the game")
                        .arg(officerNumber(i))
                        .arg(face)
                        .arg(kFaceCount)};
    }
    return {};
}

}  // namespace varkel
