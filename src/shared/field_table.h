#pragma once

#include "shared/number_fields.h"

#include <optional>
#include <vector>

namespace varkel {

// Builds the field table of a record from accessors written once for both a const
// and a changeable record: `[](auto& r) -> auto& { return r.person.bravery; }`.
// Each call returns the field just added, for the settings only it has; the
// reference is good until the next call.
template <typename Record>
class FieldTable {
public:
    using Field = RecordField<Record>;

    template <typename Ref>
    Field& number(const char* key, const char* control, const QString& label, int digits, std::optional<int> lower,
                  std::optional<int> upper, int storable, Ref ref)
    {
        Field& f = add(key, label, FieldKind::Number);
        f.control = QString::fromLatin1(control);
        f.maxDigits = digits;
        f.lower = lower;
        f.upper = upper;
        f.storableMax = storable;
        bindNumber(f, ref);
        return f;
    }
    template <typename Ref>
    Field& name(const char* key, const char* label, int capacity, Ref ref)
    {
        Field& f = add(key, QString::fromUtf8(label), FieldKind::Name);
        f.capacity = capacity;
        f.get = [ref](const Record& r) { return FieldValue{0, ref(r), {}}; };
        f.set = [ref](Record& r, const FieldValue& v) { ref(r) = v.text; };
        return f;
    }
    template <typename Ref>
    Field& choice(const char* key, const char* label, QStringList items, Ref ref)
    {
        Field& f = add(key, QString::fromUtf8(label), FieldKind::Choice);
        f.items = std::move(items);
        bindNumber(f, ref);
        return f;
    }
    template <typename Ref>
    Field& flag(const char* key, const char* label, Ref ref)
    {
        Field& f = add(key, QString::fromUtf8(label), FieldKind::Flag);
        f.get = [ref](const Record& r) { return FieldValue{ref(r) ? 1 : 0, {}, {}}; };
        f.set = [ref](Record& r, const FieldValue& v) { ref(r) = v.number != 0; };
        return f;
    }
    Field& add(const char* key, const QString& label, FieldKind kind)
    {
        Field f;
        f.key = QString::fromLatin1(key);
        f.label = label;
        f.kind = kind;
        fields.push_back(std::move(f));
        return fields.back();
    }

    std::vector<Field> fields;

private:
    template <typename Ref>
    static void bindNumber(Field& f, Ref ref)
    {
        f.get = [ref](const Record& r) { return FieldValue{int(ref(r)), {}, {}}; };
        f.set = [ref](Record& r, const FieldValue& v) { ref(r) = v.number; };
    }
};

// The field of `fields` with this key; the key must be one of them.
template <typename Record>
const RecordField<Record>& FieldWithKey(const std::vector<RecordField<Record>>& fields, const QString& key)
{
    for (const RecordField<Record>& f : fields)
        if (f.key == key)
            return f;
    qFatal("no field %s", qPrintable(key));
}

}  // namespace varkel
