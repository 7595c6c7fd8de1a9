#pragma once

#include "demo_folder/demo_records.h"

namespace varkel::demo {

// The demo world: which corps holds each city and who heads it. Rulers and corps
// commanders stand in a city of their own that their corps holds, governors head
// other cities a corps holds, and every other serving officer stands in a city of
// its force. Every slot holds the same world.

// The corps byte of city c in a save of `officerCount` officers: 68 where the
// corps' commander is not among them.
int DemoCityCorps(int c, int officerCount);

// Gives officer `officer`, as drawn, its post: status, force and city.
void PlaceInWorld(int officer, OfficerPlan& o);

}  // namespace varkel::demo
