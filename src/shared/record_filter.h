#pragma once

#include "shared/record_kind.h"

#include <QString>

#include <optional>
#include <vector>

namespace varkel {

// Why a filter or an assignment cannot be read: a message naming the word at
// fault, and where that word stands in the text (for a window to mark it).
struct FilterError {
    QString message;
    qsizetype position = 0;
    qsizetype length = 0;
};

// Picks records of a kind by their values. The text is conditions separated by
// spaces, all of which must hold:
//
//   condition := subject operator value
//   subject   := a field's caption or key ("武力", "might"), a text the records show
//                beside their fields by its key ("city_name"), or the record's
//                number ("編號", "number") or name ("名稱", "name")
//   operator  := = | != | < | <= | > | >= | ~        (~: contains)
//   value     := a number (a half as "7.5" where the field counts halves), a list
//                text as the views show it ("在野"), a name, or any of these in
//                double quotes when it holds a space
//
// Numbers compare as numbers, lists by their text (= and !=) or their order
// (< and >), names and texts by text. A number field that names another record
// (an officer's force, a city's head) compares as that record's name when the
// value is no number: "勢力=曹操". Skills: = is the set held, ~ holds every one
// named. A record without the field (a spouse's ability caps) matches no
// condition on it. The empty text picks every record.
class RecordFilter {
public:
    // Reads `text` against the fields of `kind`; nothing, and why, when it cannot.
    static std::optional<RecordFilter> parse(const RecordKind& kind, const QString& text, FilterError* error);

    bool empty() const { return conditions_.empty(); }
    // Whether record n (its place) holds every condition; `values` are its read().
    bool matches(const RecordKind& kind, int n) const;
    bool matches(const RecordKind& kind, int n, const std::vector<FieldValue>& values) const;
    // The places of the records that match, in order.
    std::vector<int> select(const RecordKind& kind) const;

private:
    enum class Operator { Equal, NotEqual, Less, LessOrEqual, Greater, GreaterOrEqual, Contains };
    enum class Subject { Field, Text, Number, Name };
    struct Condition {
        Subject subject = Subject::Field;
        std::size_t field = 0;  // Field: index into fields()
        QString textKey;        // Text, or a Field compared by the text it names
        Operator op = Operator::Equal;
        bool byText = false;    // compares `text` with a text, not `number` with a number
        qlonglong number = 0;
        QString text;
        std::vector<int> list;  // skills and tactics
    };

    using Texts = std::optional<std::vector<std::pair<QString, QString>>>;

    class ConditionReader;  // reads one condition, rule by rule (record_filter.cpp)

    // Reads one condition, `word` standing at `position` of the text.
    static std::optional<Condition> readCondition(const RecordKind& kind, const QString& word, qsizetype position,
                                                  const QStringList& shownTexts, FilterError* error);
    static bool holds(const Condition& c, const RecordKind& kind, int n, const std::vector<FieldValue>& values,
                      Texts& texts);

    std::vector<Condition> conditions_;
    bool needsValues_ = false;
};

// The field of `kind` a word names, by caption or key; nothing for none.
std::optional<std::size_t> FieldNamed(const RecordKind& kind, const QString& word);

}  // namespace varkel
