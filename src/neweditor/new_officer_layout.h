#pragma once

#include "person/biography.h"
#include "person/member_record.h"

#include <QString>

// Where the new-officer editor's two files keep things: the system save
// "Svd_sys.sav" and the game's text file "RDText.vk", which holds the new
// officers' biographies. Both open with a 24-byte header and then hold one record
// per new officer (officer numbers 660..759); every other byte is carried as it is.
namespace varkel::system_save {

inline constexpr qsizetype kHeaderSize = 24;
inline constexpr int kRecordCount = 100;
inline constexpr int kFirstOfficerNumber = 660;

// "Svd_sys.sav": the officer records.
inline const QString kFileName = QStringLiteral("Svd_sys.sav");
inline constexpr qint64 kMinimumSize = 14'841;       // a shorter file is refused on open
inline constexpr qint64 kMaximumSize = 1024 * 1024;  // a larger file is no system save
inline constexpr qsizetype record(int i)
{
    return kHeaderSize + member::kRecordSize * i;
}

// "RDText.vk": the biographies.
inline const QString kBiographyFileName = QStringLiteral("RDText.vk");
inline constexpr qint64 kBiographyFileMaximumSize = 4 * 1024 * 1024;  // a larger file is not the game's
inline constexpr qsizetype biographyRecord(int i)
{
    return kHeaderSize + biography::kRecordSize * i;
}

}  // namespace varkel::system_save
