#pragma once

#include <QByteArray>
#include <QDateTime>

#include <array>

namespace varkel::demo {

// How the nine demo saves differ from each other.
struct SlotPlan {
    int slot = 0;
    qint64 size = 0;
    int namedFrom760 = 0;     // named officers from 760 on before the first empty one
    int namedAfterGap = 0;    // named officers after that empty one (never counted)
    int gameYearByte = 0;
    int month = 1;
    int oddTacticOfficer = -1;  // officer whose tactic 0 holds the nibble 14, or -1
    QDateTime modified;
};

const std::array<SlotPlan, 9>& SlotPlans();

// The whole saved game of one slot.
QByteArray MakeSavedGame(const SlotPlan& plan);

}  // namespace varkel::demo
