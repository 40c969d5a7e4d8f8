#pragma once

#include "update/updatedb.h"

#include <optional>

// Every session's GPCIs follow the new localities of the update database's location1.
namespace update {

struct GeolocParts {
    QString state;
    QString desc;
};

// A session's locality text split at its first "-": the state before the blank that precedes it, the
// description after the blank that follows it ("CALIFORNIA - LOS ANGELES"). None without a dash, or with
// the dash first.
std::optional<GeolocParts> splitGeoloc(const QString& geoloc);

// For every SESSIONS row in stored order, "Default" included: the first location1 row with the session's
// state and description (without regard to case) gives its work, practice-expense and malpractice GPCIs to
// every session of that GEOLOC. A session that cannot be refreshed (no dash, no such locality, a Null GPCI)
// keeps its GPCIs and the later ones are still refreshed. Nothing when the update database lacks location1.
void Temp_2004_Update(UpdateRun& run);

}  // namespace update
