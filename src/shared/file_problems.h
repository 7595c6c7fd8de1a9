#pragma once

#include "shared/file_compare.h"

#include <QString>

#include <optional>
#include <vector>

namespace varkel {

// One problem of a file as the problems list shows it: where it is, what is
// stored, why it is odd (in English for the command line, in Traditional Chinese
// for the window), and a mend where one is safe and obvious.
struct FileProblem {
    std::size_t kind = 0;  // index into the file's kinds
    QString kindName;      // "officers"
    int record = -1;       // its place; -1 for the file as a whole
    int number = -1;       // as the command line numbers it; -1 for the file
    QString recordKind;    // "officer"; empty for the file
    QString recordName;
    QString field;    // key: "tactics", or what of the file is at fault ("person_map")
    QString caption;  // what the window calls the field ("戰法", "副本")
    qsizetype offset = 0;
    qint64 value = 0;  // as stored
    QString what;      // English
    QString reason;    // Traditional Chinese
    std::optional<RecordEdit> mend;  // stored through the kind's checked write
    QString mendText;                // what the mend writes, in Traditional Chinese
};

// The problems that the checks of `kinds` find (of kind `only` alone when it is
// given), kind by kind in the kinds' order and as each kind finds them.
std::vector<FileProblem> FindProblems(const RecordKinds& kinds, std::optional<std::size_t> only = std::nullopt);

// The mends of `problems`, as edits for ApplyRecordEdits: all of them, or those of
// the problems `picked` (indices into `problems`), in order.
std::vector<RecordEdit> Mends(const std::vector<FileProblem>& problems);
std::vector<RecordEdit> Mends(const std::vector<FileProblem>& problems, const std::vector<std::size_t>& picked);

}  // namespace varkel
