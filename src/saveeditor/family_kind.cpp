#include "saveeditor/family_kind.h"

#include "saveeditor/family_fields.h"
#include "person/member_checks.h"
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
    : TableKind(QStringLiteral("family"), QStringLiteral("family_member"), FamilyFields()),
      biography_(BiographyField(kBiographyControl))
{
    addOwnField(biography_);
}

bool FamilyKind::childOnly(std::size_t i) const
{
    if (isBiography(i))
        return true;
    const QString& key = table()[i]->key;
    return key.endsWith(QLatin1String("_cap")) || key.endsWith(QLatin1String("_growth"));
}

QString FamilyKind::recordName(int n) const
{
    return ReadFullName(file(), record(n));
}

std::vector<FieldValue> FamilyKind::read(int n) const
{
    std::vector<FieldValue> values = TableKind::read(n);
    FieldValue biography;
    if (isChild(n))
        biography.text = DecodeBiography(file(), biographyRecord(n));
    values.push_back(biography);
    if (!isChild(n))
        for (std::size_t i = 0; i < values.size(); ++i)
            values[i].absent = childOnly(i);
    return values;
}

std::optional<FieldProblem> FamilyKind::store(int n, FamilyMember& m, const Changes& changes)
{
    for (const auto& [i, value] : changes) {
        if (!isChild(n) && childOnly(i)) {
            const QString what = isBiography(i) ? QStringLiteral("a biography")
                                                : QStringLiteral("ability caps and growth values");
            return FieldProblem{
                {},
                QStringLiteral("%1: only children (members 0..7) have %2, not a spouse").arg(fields()[i]->key, what)};
        }
    }
    const MemberEdit edit = FollowMemberChanges(m, table(), changes);
    // Neither the surname nor the given name may be empty.
    for (const char* key : {"surname", "given_name"}) {
        const auto& field = FamilyField(QLatin1String(key));
        if (field.get(m).text.isEmpty()) {
            const QString message = FieldProblemMessage(field.label, QStringLiteral("不能為空。"));
            const QString shortMessage = field.key + QStringLiteral(": ") + message.section(QLatin1Char('\n'), -1);
            return FieldProblem{field.control, shortMessage, message};
        }
    }
    // The biography is the one part the codec may still refuse, so it goes first
    // and a refusal leaves the record as it was.
    if (edit.biography)
        if (auto problem = StoreBiography(file(), biographyRecord(n), *edit.biography, biography_))
            return problem;
    // A biography alone leaves the record's bytes as they are.
    if (edit.recordChanged)
        EncodeFamilyMember(file(), n, m);
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
    checkEach(found, [&](int n, const FindingSink& add) {
        CheckMemberRecord(decode(n), record(n), add);
        if (isChild(n))
            CheckBiography(DecodeBiography(file(), biographyRecord(n)), biographyRecord(n), add);
    });
    return found;
}

}  // namespace varkel
