#include "neweditor/system_save.h"

#include "shared/game_folder.h"

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

}  // namespace varkel
