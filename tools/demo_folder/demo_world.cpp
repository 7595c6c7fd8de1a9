#include "demo_folder/demo_world.h"

#include "demo_folder/demo_folder.h"
#include "demo_folder/demo_layout.h"

#include <map>
#include <vector>

namespace varkel::demo {

namespace {

constexpr int kStatusCommander = 1;
constexpr int kStatusGovernor = 2;
constexpr int kStatusThird = 3;
constexpr int kStatusOrdinary = 4;
constexpr int kNoCorps = kNoForce;
constexpr int kRulerOfForce28 = kEveryStatusFirst;  // status 0
constexpr int kCityOfForce28 = 1;
constexpr int kNextServant = -1;

bool serving(int status)
{
    return status >= kStatusCommander && status <= kStatusOrdinary;
}

// A drawn commander or governor without a post serves as an ordinary officer.
int withoutPost(int status)
{
    return status < kStatusThird ? kStatusOrdinary : status;
}

// Officers whose status is their own fixed part in every save; the world moves
// them only where it names them.
bool hasFixedStatus(int officer)
{
    const bool ruler = officer % kOfficersPerRuler == 0 && officer < kOfficersPerRuler * kRulerCount;
    const bool bandit = officer % kOfficersPerRuler == 15 && officer < kOfficersPerRuler * kBanditLeaderCount;
    return ruler || bandit || officer == kSharedForceLeader ||
           (officer >= kEveryStatusFirst && officer < kEveryStatusFirst + 16);
}

// Corps besides the rulers': force, city, commander.
struct CommanderPost {
    int force;
    int city;
    int officer;
};
constexpr CommanderPost kCommanders[] = {
    {kDemoForceWithFourCorps, 3, kNextServant},
    {kDemoForceWithFourCorps, 5, kNextServant},
    {kDemoForceWithFourCorps, 7, kNextServant},
    {3, 11, kNextServant},
    {3, 13, kNextServant},
    {5, 15, kDemoCommanderIn700s},
    {7, 17, kNextServant},
    {kDemoForceOfHighCommander, 19, kDemoHighCommander},
};

// Cities a governor heads: the force and which of its corps holds it (0 the
// ruler's, k the k-th commander's above).
struct GovernedCity {
    int city;
    int force;
    int corps;
    int governor;
};
constexpr GovernedCity kGoverned[] = {
    {9, kDemoForceWithFourCorps, 2, kNextServant},
    {21, kDemoForceWithFourCorps, 1, kNextServant},
    {23, kDemoForceWithFourCorps, 3, kNextServant},
    {25, 3, 2, kNextServant},
    {kDemoGovernedCity, 4, 0, kDemoGovernor},
    {29, 0, 0, kNextServant},
    {31, 6, 0, kNextServant},
    {33, 8, 0, kNextServant},
    {35, 10, 0, kNextServant},
    {37, 12, 0, kNextServant},
    {39, 3, 1, kNextServant},
    {41, 16, 0, kNextServant},
    {43, 7, 1, kNextServant},
    {kDemoCityWithOddCorps, 20, 0, kNextServant},
    {48, 5, 1, kNextServant},
};

struct Post {
    int status = -1;  // -1: as drawn (a drawn commander or governor serves as an ordinary officer)
    int force = -1;   // -1: as drawn
    int city = 0;
    bool away = false;
};

struct World {
    std::array<int, kCityRecordCount> corps{};
    std::array<int, kCityRecordCount> commander{};  // -1: none
    std::map<int, Post> posts;
    std::array<std::vector<int>, kForceNameCount> cities;  // where a force's other servants stand
};

World build()
{
    World w;
    w.corps.fill(kNoCorps);
    w.commander.fill(-1);
    std::map<int, std::vector<int>> corpsOfForce;  // force -> corps numbers, the ruler's first
    int made = 0;
    auto addCorps = [&](int force, int city, int officer, int status) {
        // Corps numbers step by 13 through 0..67, so they spread over the whole range.
        const int number = (made++ * 13 + 2) % kNoCorps;
        w.corps[city] = number;
        w.commander[city] = officer;
        w.posts[officer] = {status, force, city, false};
        corpsOfForce[force].push_back(number);
    };
    int scanned = 0;
    auto nextServant = [&] {
        for (;;) {
            const int officer = ++scanned;
            if (!hasFixedStatus(officer) && !w.posts.count(officer) && serving(DrawOfficer(officer).status))
                return officer;
        }
    };

    for (int f = 0; f < kRulerCount; ++f)
        addCorps(f, f * 2 % kCityNameCount, kOfficersPerRuler * f, kStatusRuler);
    addCorps(28, kCityOfForce28, kRulerOfForce28, kStatusRuler);
    for (const CommanderPost& c : kCommanders)
        addCorps(c.force, c.city, c.officer == kNextServant ? nextServant() : c.officer, kStatusCommander);
    for (const GovernedCity& g : kGoverned) {
        w.corps[g.city] = corpsOfForce[g.force][g.corps];
        w.posts[g.governor == kNextServant ? nextServant() : g.governor] = {kStatusGovernor, g.force, g.city, false};
    }

    // Around the governor: candidates of status 3 and 4, one of them away, and
    // an officer who does not serve.
    const int governedForce = 4;
    w.posts[kEveryStatusFirst + kStatusThird] = {kStatusThird, governedForce, kDemoGovernedCity, false};
    w.posts[kDemoAwayOfficer] = {kStatusOrdinary, governedForce, kDemoGovernedCity, true};
    for (int k = 0; k < 2; ++k)
        w.posts[nextServant()] = {-1, governedForce, kDemoGovernedCity, false};
    w.posts[kDemoUnservingOfficer] = {-1, -1, kDemoGovernedCity, false};

    // Candidates without a head.
    w.corps[kDemoCityWithoutHead] = corpsOfForce[kDemoForceWithOneCorps][0];
    for (int k = 0; k < 3; ++k)
        w.posts[nextServant()] = {-1, kDemoForceWithOneCorps, kDemoCityWithoutHead, false};

    w.posts[kDemoBanditLeader] = {-1, -1, kDemoBanditCity, false};

    // The other servants stand where their force has a head in every slot.
    for (const auto& [officer, post] : w.posts) {
        if (post.status >= kStatusRuler && post.status <= kStatusGovernor && officer < kAlwaysPresentOfficers)
            w.cities[std::size_t(post.force)].push_back(post.city);
    }
    return w;
}

const World& world()
{
    static const World w = build();
    return w;
}

}  // namespace

int DemoCityCorps(int c, int officerCount)
{
    const World& w = world();
    return w.commander[c] >= officerCount ? kNoCorps : w.corps[c];
}

void PlaceInWorld(int officer, OfficerPlan& o)
{
    const World& w = world();
    const auto posted = w.posts.find(officer);
    if (posted == w.posts.end()) {
        if (!serving(o.status))
            return;
        // An ordinary servant: in one of its force's cities.
        const std::vector<int>& cities = w.cities[std::size_t(o.force)];
        o.status = withoutPost(o.status);
        o.city = cities[std::size_t(officer) % cities.size()];
        o.away = false;
        return;
    }
    const Post& p = posted->second;
    if (p.status >= 0)
        o.status = p.status;
    else if (serving(o.status))
        o.status = withoutPost(o.status);
    if (p.force >= 0)
        o.force = p.force;
    o.city = p.city;
    o.away = p.away;
}

}  // namespace varkel::demo
