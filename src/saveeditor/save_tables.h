#pragma once

#include "saveeditor/save_layout.h"

#include <QByteArray>
#include <QStringList>

#include <array>

namespace varkel {

// The lists derived from a loaded saved game.
struct SaveTables {
    int officerCount = 0;
    QStringList officerNames;  // 1,721 entries; those from officerCount on are empty
    QStringList forceNames;    // 69 entries by force byte; 68 is "無"
    QStringList leaderNames;   // the force list: every leader in number order, then "無"
    std::array<int, save::kPlayerSlotCount> controlled{};  // officer per player slot, 1023 for none
    bool hasFamily = false;    // some family record has a name

    // Officers 0..759 always exist; from 760 the first empty full name ends the
    // list, and it never goes past the 860 officers the tables have room for.
    static int countOfficers(const QByteArray& save);
    static SaveTables build(const QByteArray& save);

    bool isControlled(int officer) const;
    int controlledCount() const;
    // The force name of a force byte, or the raw number for one outside the table.
    QString forceName(int forceByte) const;
    // The name beside a field naming an officer: the officer's name, "無" for `none`
    // (the code the field stores for no officer), and the stored number for any
    // other that names no officer of this save.
    QString officerText(int officer, int none = save::kNoPerson) const;
};

// The first 134,024 bytes of "d_sce.vk" and the names decoded from them.
struct ScenarioData {
    static constexpr qsizetype kSize = 134'024;
    static constexpr int kCityCount = 51;

    QByteArray bytes;
    QStringList cityNames;      // 51
    QStringList treasureNames;  // 255
    QStringList courtRanks;     // 32, the force editor's rank names

    static ScenarioData decode(QByteArray bytes);
    static QStringList decodeCityNames(const QByteArray& bytes);
    static QStringList decodeCourtRanks(const QByteArray& bytes);
};

}  // namespace varkel
