#include "shared/file_compare.h"

#include <algorithm>

namespace varkel {

namespace {

using Presence = RecordDifference::Presence;

QString shown(const QString& text, const QString& name)
{
    return name.isEmpty() ? text : text + QLatin1Char(' ') + name;
}

// The named text (by key) a record shows beside each field, empty for a field without one.
std::vector<QString> namedKeys(const RecordKind& kind)
{
    std::vector<QString> keys;
    for (const FieldSpec* field : kind.fields())
        keys.push_back(NamedTextKey(kind, *field));
    return keys;
}

QString namedText(const std::vector<std::pair<QString, QString>>& texts, const QString& key)
{
    if (key.isEmpty())
        return {};
    for (const auto& [name, text] : texts)
        if (name == key)
            return text;
    return {};
}

// The fields of record n that differ between two kinds of one sort.
std::vector<FieldDifference> fieldDifferences(const RecordKind& ours, const RecordKind& theirs, int n,
                                              const std::vector<QString>& named)
{
    std::vector<FieldDifference> found;
    const auto& fields = ours.fields();
    const std::vector<FieldValue> a = ours.read(n);
    const std::vector<FieldValue> b = theirs.read(n);
    std::vector<std::pair<QString, QString>> textsA, textsB;
    bool textsRead = false;
    for (std::size_t i = 0; i < fields.size() && i < a.size() && i < b.size(); ++i) {
        if (a[i] == b[i])
            continue;
        if (!named[i].isEmpty() && !textsRead) {
            textsA = ours.namedTexts(n);
            textsB = theirs.namedTexts(n);
            textsRead = true;
        }
        const FieldSpec& field = *fields[i];
        found.push_back({i, field.key, field.label, field.readOnly, a[i], b[i], FieldValueText(field, a[i]),
                         FieldValueText(field, b[i]), namedText(textsA, named[i]), namedText(textsB, named[i])});
    }
    return found;
}

EditRefusal refusal(std::size_t kind, const RecordDifference& record, const QString& field, const QString& problem)
{
    return {kind, record.record, field, problem};
}

// The edit that takes over their values of field `onlyField` of the record, or of
// all its fields.
void takeRecord(std::size_t kind, const RecordDifference& record, std::optional<std::size_t> onlyField,
                TakeTheirs& taken)
{
    if (record.presence == Presence::OnlyTheirs) {
        taken.refused.push_back(refusal(kind, record, {},
                                        QStringLiteral("這筆紀錄只在對方的檔案中，無法加到這個檔案。")));
        return;
    }
    if (record.presence == Presence::OnlyOurs)
        return;  // nothing of theirs to take
    RecordEdit edit{kind, record.record, {}};
    for (const FieldDifference& f : record.fields) {
        if (onlyField && f.field != *onlyField)
            continue;
        // A field the other record lacks has no value to give.
        if (f.theirs.absent)
            continue;
        if (f.readOnly) {
            // A worked-out field (the full name) follows the fields it is made of,
            // and one set elsewhere (the controlled flag) stays: it is refused only
            // when it is all that was asked for.
            if (onlyField)
                taken.refused.push_back(refusal(
                    kind, record, f.key, QStringLiteral("「%1」不能直接修改，無法取用對方的值。").arg(f.caption)));
            continue;
        }
        edit.changes.values[f.field] = f.theirs;
    }
    if (!edit.changes.empty())
        taken.edits.push_back(std::move(edit));
}

}  // namespace

QString FieldDifference::oursShown() const
{
    return shown(oursText, oursName);
}

QString FieldDifference::theirsShown() const
{
    return shown(theirsText, theirsName);
}

const KindDifference* FileComparison::kind(std::size_t index) const
{
    for (const KindDifference& k : kinds)
        if (k.kind == index)
            return &k;
    return nullptr;
}

const RecordDifference* FileComparison::record(std::size_t kindIndex, int place) const
{
    const KindDifference* k = kind(kindIndex);
    if (!k)
        return nullptr;
    const auto at = std::lower_bound(k->records.begin(), k->records.end(), place,
                                     [](const RecordDifference& r, int n) { return r.record < n; });
    return at != k->records.end() && at->record == place ? &*at : nullptr;
}

namespace {

// Marks the bytes record n of `kind` takes up in `owned`, as far as the files reach.
void markOwned(const RecordKind& kind, int n, qsizetype length, std::vector<bool>& owned)
{
    for (const RecordKind::Extent& e : kind.extents(n))
        for (qsizetype i = std::max<qsizetype>(e.offset, 0); i < e.offset + e.size && i < length; ++i)
            owned[std::size_t(i)] = true;
}

// The records of kind k that differ between the two files, those only one file
// has included. The bytes of the records that differ are marked in `owned`, when
// given, up to `length`.
KindDifference compareKind(std::size_t k, const RecordKind& a, const RecordKind& b, std::vector<bool>* owned,
                           qsizetype length)
{
    KindDifference kind{k, a.name(), {}};
    const std::vector<QString> named = namedKeys(a);
    const int common = std::min(a.count(), b.count());
    for (int n = 0; n < std::max(a.count(), b.count()); ++n) {
        if (n >= common) {
            const RecordKind& has = n < a.count() ? a : b;
            kind.records.push_back({n,
                                    has.numberOf(n),
                                    has.recordKind(n),
                                    has.recordName(n),
                                    n < a.count() ? Presence::OnlyOurs : Presence::OnlyTheirs,
                                    {}});
            continue;
        }
        std::vector<FieldDifference> fields = fieldDifferences(a, b, n, named);
        if (fields.empty())
            continue;
        kind.records.push_back({n, a.numberOf(n), a.recordKind(n), a.recordName(n), Presence::Both,
                                std::move(fields)});
        if (owned)
            markOwned(a, n, length, *owned);
    }
    return kind;
}

// Counts the bytes that differ outside every record whose differences were named
// (`owned`), and keeps the first few of them.
void countUnowned(const QByteArray& oursBytes, const QByteArray& theirsBytes, const std::vector<bool>& owned,
                  FileComparison& comparison)
{
    const qsizetype length = std::max(oursBytes.size(), theirsBytes.size());
    const qsizetype common = std::min(oursBytes.size(), theirsBytes.size());
    const char* a = oursBytes.constData();
    const char* b = theirsBytes.constData();
    for (qsizetype i = 0; i < length; ++i) {
        if (i < common && a[i] == b[i])
            continue;
        if (owned[std::size_t(i)])
            continue;
        ++comparison.unownedCount;
        if (comparison.firstUnowned.size() < std::size_t(FileComparison::kUnownedShown))
            comparison.firstUnowned.push_back(i);
    }
}

}  // namespace

FileComparison CompareFiles(const RecordKinds& ours, const QByteArray& oursBytes, const RecordKinds& theirs,
                            const QByteArray& theirsBytes, std::optional<std::size_t> only)
{
    FileComparison comparison;
    comparison.oursSize = oursBytes.size();
    comparison.theirsSize = theirsBytes.size();
    comparison.unownedCompared = !only;
    const qsizetype length = std::max(oursBytes.size(), theirsBytes.size());
    // The bytes of records whose differences were named.
    std::vector<bool> owned(comparison.unownedCompared ? std::size_t(length) : 0, false);

    for (std::size_t k = 0; k < std::min(ours.size(), theirs.size()); ++k) {
        // Tables worked out from the records follow from them.
        if ((only && *only != k) || ours[k]->extents(0).empty())
            continue;
        KindDifference kind =
            compareKind(k, *ours[k], *theirs[k], comparison.unownedCompared ? &owned : nullptr, length);
        if (!kind.records.empty())
            comparison.kinds.push_back(std::move(kind));
    }
    if (comparison.unownedCompared)
        countUnowned(oursBytes, theirsBytes, owned, comparison);
    return comparison;
}

TakeTheirs TheirsEdits(const FileComparison& comparison, const TakeSelection& selection)
{
    using Scope = TakeSelection::Scope;
    TakeTheirs taken;
    for (const KindDifference& kind : comparison.kinds) {
        if (selection.scope != Scope::Everything && kind.kind != selection.kind)
            continue;
        for (const RecordDifference& record : kind.records) {
            if ((selection.scope == Scope::Field || selection.scope == Scope::Record) &&
                record.record != selection.record)
                continue;
            takeRecord(kind.kind, record,
                       selection.scope == Scope::Field ? std::optional(selection.field) : std::nullopt, taken);
        }
    }
    return taken;
}

std::vector<EditRefusal> ApplyRecordEdits(const RecordKinds& kinds, const std::vector<RecordEdit>& edits)
{
    std::vector<EditRefusal> refused;
    for (const RecordEdit& edit : edits) {
        if (edit.kind >= kinds.size() || edit.record < 0 || edit.record >= kinds[edit.kind]->count()) {
            refused.push_back({edit.kind, edit.record, {}, QStringLiteral("這個檔案沒有這筆紀錄。")});
            continue;
        }
        RecordKind& kind = *kinds[edit.kind];
        if (const auto problem = StoreChanges(kind, edit.record, edit.changes))
            refused.push_back({edit.kind, edit.record, {}, problem->message.section(QLatin1Char('\n'), -1)});
    }
    return refused;
}

}  // namespace varkel
