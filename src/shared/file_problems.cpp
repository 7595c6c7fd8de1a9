#include "shared/file_problems.h"

namespace varkel {

namespace {

// Captions of what a finding can be about besides the fields of a table.
constexpr struct {
    const char* field;
    const char16_t* caption;
} kFileCaptions[] = {
    {"size", u"檔案大小"}, {"person_map", u"人物對照"}, {"player_slot", u"玩家欄"},
    {"location", u"所在地"}, {"copies", u"副本"},
};

QString captionOf(const RecordKind& kind, const QString& field)
{
    if (const auto i = kind.fieldIndex(field))
        return kind.fields()[*i]->label;
    for (const auto& c : kFileCaptions)
        if (field == QLatin1String(c.field))
            return QString::fromUtf16(c.caption);
    return field;
}

}  // namespace

std::vector<FileProblem> FindProblems(const RecordKinds& kinds, std::optional<std::size_t> only)
{
    std::vector<FileProblem> problems;
    for (std::size_t k = 0; k < kinds.size(); ++k) {
        if (only && *only != k)
            continue;
        const RecordKind& kind = *kinds[k];
        for (RecordKind::Finding& f : kind.check()) {
            FileProblem& p = problems.emplace_back();
            p.kind = k;
            p.kindName = kind.name();
            p.field = std::move(f.field);
            p.caption = captionOf(kind, p.field);
            p.offset = f.offset;
            p.value = f.value;
            p.what = std::move(f.what);
            p.reason = std::move(f.reason);
            if (f.record < 0 || f.record >= kind.count())
                continue;
            p.record = f.record;
            p.number = kind.numberOf(f.record);
            p.recordKind = kind.recordKind(f.record);
            p.recordName = kind.recordName(f.record);
            if (f.mend) {
                p.mend = RecordEdit{k, f.record, std::move(f.mend->changes)};
                p.mendText = std::move(f.mend->text);
            }
        }
    }
    return problems;
}

std::vector<RecordEdit> Mends(const std::vector<FileProblem>& problems)
{
    std::vector<RecordEdit> edits;
    for (const FileProblem& p : problems)
        if (p.mend)
            edits.push_back(*p.mend);
    return edits;
}

std::vector<RecordEdit> Mends(const std::vector<FileProblem>& problems, const std::vector<std::size_t>& picked)
{
    std::vector<RecordEdit> edits;
    for (const std::size_t i : picked)
        if (i < problems.size() && problems[i].mend)
            edits.push_back(*problems[i].mend);
    return edits;
}

}  // namespace varkel
