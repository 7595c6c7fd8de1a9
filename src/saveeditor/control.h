#pragma once

#include "saveeditor/save_layout.h"

#include <QByteArray>

#include <array>
#include <optional>

namespace varkel {

// The officer of each player slot as the editor keeps it while a save is open
// (SaveTables::controlled): 1023 marks a free slot.
using ControlledSlots = std::array<int, save::kPlayerSlotCount>;

// Why a change of control is not made. The window says nothing for the first
// three: its check box cannot ask for them, or (an officer without a person
// number) the change is quietly not made.
enum class ControlRefusal {
    None,
    NoSuchOfficer,      // outside the 860 officers a save has room for
    NotInPersonMap,     // the officer has no person number to put into a player slot
    AlreadyControlled,  // taking control: a slot already holds the officer
    NotControlled,      // giving up: no slot holds the officer
    AllSlotsTaken,      // taking control: eight officers are controlled
    CurrentOfficer,     // giving up the officer the game is played as
    LastControlled,     // giving up the only controlled officer
};

// The person number of `officer`: 860 plus the first person-map entry that
// names it, or -1.
int PersonNumberOf(const QByteArray& save, int officer);
// The officer whose control cannot be given up.
int CurrentOfficer(const QByteArray& save);

// What TakeControl and GiveUpControl would refuse, without changing anything: the
// window asks its question only after these checks pass.
ControlRefusal CheckTakeControl(const QByteArray& save, const ControlledSlots& controlled, int officer);
ControlRefusal CheckGiveUpControl(const QByteArray& save, const ControlledSlots& controlled, int officer);

struct ControlChange {
    ControlRefusal refusal = ControlRefusal::None;
    int person = -1;  // the officer's person number
    int slot = -1;    // the player slot written, -1 for none
};

// Sets the officer's controlled flag and puts its person number (not its officer
// number) into the lowest free player slot, which then holds the officer.
ControlChange TakeControl(QByteArray& save, ControlledSlots& controlled, int officer);
// Clears the controlled flag and empties the officer's player slot (person 1720).
ControlChange GiveUpControl(QByteArray& save, ControlledSlots& controlled, int officer);

// Whether the officer view offers to force the officer in: retired, not yet
// appeared, dead or special (status 8 and above).
bool MayForceAppearance(const QByteArray& save, int officer);

struct Appearance {
    int person = -1;     // the officer's person number afterwards; -1 when the map is full
    bool added = false;  // an empty person-map entry now names the officer
};

// Makes the officer a free officer (status 7), clears the last byte of its
// location entry and lists it at the first empty person-map entry. An officer
// already listed is not listed twice. nullopt for an officer outside the table.
std::optional<Appearance> ForceAppearance(QByteArray& save, int officer);

}  // namespace varkel
