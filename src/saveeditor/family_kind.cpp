#include "saveeditor/family_kind.h"

#include "saveeditor/family_fields.h"
#include "saveeditor/member_checks.h"
#include "shared/name_field.h"

namespace varkel {

using family::biographyRecord;
using family::growthField;
using family::isChild;
using family::record;

namespace {

constexpr qsizetype kGrowthAndCapsSize = 6;  // two bytes of growth values, then four caps

const QString kBiographyControl = QStringLiteral("Text11");

}  // namespace

FamilyKind::FamilyKind()
{
    for (const auto& field : FamilyFields()) {
        fields_.push_back(&field);
        specs_.push_back(&field);
    }
    biography_ = BiographyField(kBiographyControl);
    specs_.push_back(&biography_);
}

bool FamilyKind::childOnly(std::size_t i) const
{
    if (isBiography(i))
        return true;
    const QString& key = fields_[i]->key;
    return key.endsWith(QLatin1String("_cap")) || key.endsWith(QLatin1String("_growth"));
}

QString FamilyKind::recordName(int n) const
{
    return ReadFullName(*save_, record(n));
}

std::vector<FieldValue> FamilyKind::read(int n) const
{
    const FamilyMember m = DecodeFamilyMember(*save_, n);
    std::vector<FieldValue> values;
    values.reserve(specs_.size());
    for (const auto* field : fields_)
        values.push_back(field->get(m));
    FieldValue biography;
    if (isChild(n))
        biography.text = DecodeBiography(*save_, biographyRecord(n));
    values.push_back(biography);
    if (!isChild(n))
        for (std::size_t i = 0; i < values.size(); ++i)
            values[i].absent = childOnly(i);
    return values;
}

std::optional<FieldProblem> FamilyKind::write(int n, const std::map<std::size_t, FieldValue>& changes)
{
    for (const auto& [i, value] : changes) {
        if (!isChild(n) && childOnly(i)) {
            const QString what = isBiography(i) ? QStringLiteral("a biography")
                                                : QStringLiteral("ability caps and growth values");
            return FieldProblem{{}, QStringLiteral("%1: only children (members 0..7) have %2, not a spouse")
                                        .arg(specs_[i]->key, what)};
        }
    }
    FamilyMember m = DecodeFamilyMember(*save_, n);
    const MemberEdit edit = ApplyMemberChanges(m, fields_, changes);
    // As in the view, neither the surname nor the given name may be empty.
    for (const char* key : {"surname", "given_name"}) {
        const auto& field = FamilyField(QLatin1String(key));
        if (field.get(m).text.isEmpty())
            return FieldProblem{field.control, field.key + QStringLiteral(": ") +
                                                   FieldProblemMessage(field.label, QStringLiteral("不能為空。"))
                                                       .section(QLatin1Char('\n'), -1)};
    }
    // The biography is the one part the codec may still refuse, so it goes first
    // and a refusal leaves the record as it was.
    if (edit.biography)
        if (auto problem = StoreBiography(*save_, biographyRecord(n), *edit.biography, biography_))
            return problem;
    // A biography alone leaves the record's bytes as they are.
    if (edit.recordChanged)
        EncodeFamilyMember(*save_, n, m);
    return std::nullopt;
}

std::vector<RecordKind::Extent> FamilyKind::extents(int n) const
{
    if (!isChild(n))
        return {{record(n), member::kRecordSize}};
    return {{record(n), member::kRecordSize},
            {growthField(n), kGrowthAndCapsSize},
            {biographyRecord(n), biography::kRecordSize}};
}

std::vector<RecordKind::Finding> FamilyKind::check() const
{
    std::vector<Finding> found;
    for (int n = 0; n < count(); ++n) {
        const FindingSink add = [&](const char* field, qsizetype offset, qint64 value, const QString& what) {
            found.push_back({n, QString::fromLatin1(field), offset, value, what});
        };
        CheckMemberRecord(DecodeFamilyMember(*save_, n), record(n), add);
        if (isChild(n))
            CheckBiography(DecodeBiography(*save_, biographyRecord(n)), biographyRecord(n), add);
    }
    return found;
}

}  // namespace varkel
