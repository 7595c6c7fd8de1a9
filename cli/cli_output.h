#pragma once

#include "shared/record_kind.h"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace varkel::cli {

using Json = nlohmann::ordered_json;

// Record n as the command line shows it: "kind" and "number", then every field by
// its key (numbers as numbers, names as text, flags as booleans, a list code and
// its text as key and key_text, skills by name, tactics as levels), then the
// names of the records it refers to.
Json RecordJson(const RecordKind& kind, int n);

// The records as CSV: one header row of the keys RecordJson uses, one row each.
std::string RecordsCsv(const RecordKind& kind, const std::vector<int>& numbers);

// The fields of one object of an edits file as typed values, the way `set` takes
// them on its command line. False (and `error`) for a value of no usable type.
bool EditValues(const Json& object, std::vector<std::pair<QString, QString>>& values, QString* error);

// The record number an object of an edits file names, or -1.
int RecordNumber(const Json& object);
QString RecordKindOf(const Json& object);

}  // namespace varkel::cli
