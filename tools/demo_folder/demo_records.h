#pragma once

#include "demo_folder/demo_text.h"

#include <QByteArray>

#include <array>

namespace varkel::demo {

// Status codes of the packed word (bits 6-9 of status block word 50).
inline constexpr int kStatusRuler = 0;
inline constexpr int kStatusBanditLeader = 5;
inline constexpr int kStatusFree = 7;
inline constexpr int kStatusNotAppeared = 9;
inline constexpr int kStatusDead = 10;

// Officer numbers with a fixed part in every demo save.
inline constexpr int kOfficersPerRuler = 30;     // officer 30 * f rules force f ...
inline constexpr int kRulerCount = 24;           // ... for f = 0..23
inline constexpr int kBanditLeaderCount = 4;     // officer 30 * b + 15 leads force 24 + b
inline constexpr int kSharedForceLeader = 735;   // a bandit leader that shares force 5 with officer 150
inline constexpr int kSharedForce = 5;
inline constexpr int kEveryStatusFirst = 700;    // officers 700..715 have status codes 0..15
inline constexpr int kEveryRankFirst = 720;      // officers 720..729 have rank codes 0..9
inline constexpr int kEveryHealthFirst = 600;    // officers 600..663 have every health and lifespan pair
inline constexpr int kLeaderForceCount = 30;     // forces 0..29 have a leader

// One officer of the demo world, as the three per-officer tables of a save hold
// it. The same officer number is the same person in every slot.
struct OfficerPlan {
    PersonName name;
    bool female = false;
    int birthYearByte = 0;
    std::array<int, 4> abilities{};
    int compatibility = 0;
    int family = 0;
    int related = 0;
    int face = 0;
    int tendencies = 0;  // bit 0 直接, 1 射擊, 2 奇襲, 3 計謀
    int bravery = 0, calmness = 0, duty = 0, ambition = 0;
    int force = 0;
    int status = 0;
    int rank = 0;
    int health = 0;
    int lifespan = 0;
    int serviceAge = 0;  // age at which the officer entered service
    bool entersLater = false;  // entry year after the game year
    int loyalty = 0, action = 0, merit = 0, fame = 0, infamy = 0;
    std::array<int, 4> skills{};  // status bytes 56..59, owned bits only
    std::array<int, 15> tactics{};
    int city = 0;
    bool away = false;
};

OfficerPlan PlanOfficer(int officer);
// The officer as its random stream draws it, before the world (demo_world.h)
// gives it a post: PlanOfficer is this, placed.
OfficerPlan DrawOfficer(int officer);

// What one save changes about an officer: the date and the money.
struct SaveMoment {
    int slot = 0;
    int gameYearByte = 0;
};

// Writes officer `officer` into its status block, location entry and person block.
// The controlled flag is left clear; noise fills the bytes no view decodes.
void WriteSaveOfficer(QByteArray& save, int officer, const OfficerPlan& plan, const SaveMoment& moment);

// A family member or new officer: the 148-byte record layout.
struct MemberPlan {
    PersonName name;
    bool female = false;
    int birthYearByte = 0;
    std::array<int, 4> abilities{};
    int compatibility = 0;
    int face = 0;
    int byte52 = 0, byte53 = 0, byte54 = 0, byte55 = 0, byte59 = 0;
    int compatibleOfficer = 0;
    int lifespanHalves = 0;
    std::array<int, 4> skills{};  // record bytes 116..119
    std::array<int, 15> tactics{};
};

MemberPlan PlanMember(DemoRandom& random, const QString& surname, bool female, int birthYearByte);
// Growth tendency 0..8 (8 is 提督) in its bits of bytes 53, 54 and 59.
void SetGrowth(MemberPlan& m, int growth, DemoRandom& random);
void WriteMemberRecord(QByteArray& buffer, qsizetype record, const MemberPlan& plan, DemoRandom& noise);

}  // namespace varkel::demo
