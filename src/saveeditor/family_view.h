#pragma once

#include "saveeditor/save_layout.h"
#include "saveeditor/save_tables.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <functional>
#include <optional>

// What the family view shows around a member's fields: the age, the captions of
// the member and of the controlled officer it belongs to, a remark in the
// officer's voice, which commands are open, and a child's growth forecast with
// the officer chosen as its likeness.
namespace varkel::family {

// Bit 0 of this byte, in month 1, gives a child one more year of growth in the
// forecast.
inline constexpr qsizetype kForecastYearFlagOffset = 1890;
// Children this old or younger can be edited and forecast; the age numerals go
// up to here.
inline constexpr int kOldestChild = 14;
// An ability below this gets the "but" sentence after a spouse's hobby.
inline constexpr int kHobbySkillful = 70;

}  // namespace varkel::family

namespace varkel {

// A uniform number in [0, 1); a parameter so that tests can fix the draws.
using RandomSource = std::function<double()>;

struct FamilyDisplay {
    int age = 0;  // game year - birth year + 1; 0 when shown without an officer
    QString memberCaption;   // Frame15
    QString officerCaption;  // Frame24
    // The controlled officer shown beside the member: 1023 when the member has no
    // name or its slot no controlled officer.
    int officer = save::kNoControlledOfficer;
    QString remark;
    bool editable = false;          // Apply
    bool biographyEnabled = false;  // a child shown with its officer
    bool forecastShown = false;     // an editable child
    // The sex the view selects for a spouse shown with its officer (true: female);
    // a child's comes from its record.
    std::optional<bool> spouseFemale;
};

// The view around member k (0..15) of `save`. `random` breaks ties between a
// spouse's equal largest abilities.
FamilyDisplay DisplayFamilyMember(const QByteArray& save, const SaveTables& tables, int k, const RandomSource& random);

// The eight forecast lines of a child: the rating of each ability (might,
// intellect, politics, charisma), then the room each has left under its cap.
// `monthByte` and `flagByte` are the bytes at 1891 and 1890 of the save.
std::array<QString, 8> GrowthForecast(const std::array<int, 4>& abilities, const std::array<int, 4>& caps,
                                      const std::array<int, 4>& growth, int age, int monthByte, int flagByte);
// The same with the date bytes read from `save`.
std::array<QString, 8> GrowthForecast(const std::array<int, 4>& abilities, const std::array<int, 4>& caps,
                                      const std::array<int, 4>& growth, int age, const QByteArray& save);

// An officer from 0 to officer count - 2 with a name, shown as a child's likeness;
// -1 when none of them is named.
int ChooseLikeness(const SaveTables& tables, const RandomSource& random);

}  // namespace varkel
