#pragma once

#include "shared/record_writer.h"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace varkel::cli {

using Json = nlohmann::ordered_json;

// The fields of one object of an edits file as typed values, the way `set` takes
// them on its command line. False (and `error`) for a value of no usable type.
bool EditValues(const Json& object, std::vector<std::pair<QString, QString>>& values, QString* error);

// The record number an object of an edits file names, or -1; and its kind.
int RecordNumber(const Json& object);
QString RecordKindOf(const Json& object);

}  // namespace varkel::cli
