#include "neweditor/new_officer_kind.h"

#include "neweditor/new_officer_fields.h"
#include "person/biography.h"
#include "person/member_checks.h"
#include "shared/name_field.h"

#include <algorithm>

namespace varkel {

using system_save::biographyRecord;
using system_save::record;

namespace {

const QString kBiographyFile = QStringLiteral("RDText.vk");

bool wholly(const QByteArray& bytes, qsizetype start, qsizetype size)
{
    return start + size <= bytes.size();
}

}  // namespace

NewOfficerKind::NewOfficerKind(QByteArray* biographies)
    : TableKind(QStringLiteral("newofficers"), QStringLiteral("new_officer"), NewOfficerFields()),
      biography_(BiographyField(QStringLiteral("Text4"))),
      biographies_(biographies)
{
    addOwnField(biography_);
}

MemberRecord NewOfficerKind::decode(int n) const
{
    return DecodeMemberRecord(file(), record(n));
}

QString NewOfficerKind::recordName(int n) const
{
    return ReadFullName(file(), record(n));
}

std::vector<FieldValue> NewOfficerKind::read(int n) const
{
    std::vector<FieldValue> values = TableKind::read(n);
    FieldValue biography;
    if (biographies_ && wholly(*biographies_, biographyRecord(n), biography::kRecordSize))
        biography.text = DecodeBiography(*biographies_, biographyRecord(n));
    else
        biography.absent = true;
    values.push_back(biography);
    return values;
}

std::optional<FieldProblem> NewOfficerKind::store(int n, MemberRecord& r, const Changes& changes)
{
    const MemberEdit edit = FollowMemberChanges(r, table(), changes);
    // The biography is the one part the codec may still refuse, so it goes first
    // and a refusal leaves the record as it was.
    if (edit.biography) {
        if (!biographies_)
            return FieldProblem{{}, QStringLiteral("biography: no RDText.vk beside the system save to keep it in")};
        if (auto problem = StoreBiography(*biographies_, biographyRecord(n), *edit.biography, biography_))
            return problem;
    }
    if (edit.recordChanged)
        EncodeMemberRecord(file(), record(n), r);
    return std::nullopt;
}

std::vector<QByteArray*> NewOfficerKind::alsoWritten() const
{
    if (biographies_)
        return {biographies_};
    return {};
}

std::vector<RecordKind::Extent> NewOfficerKind::extents(int n) const
{
    return {{record(n), member::kRecordSize}};
}

std::vector<RecordKind::Finding> NewOfficerKind::check() const
{
    std::vector<Finding> found;
    checkEach(found, [&](int n, const FindingSink& add) {
        CheckMemberRecord(decode(n), record(n), add);
        if (biographies_ && wholly(*biographies_, biographyRecord(n), biography::kRecordSize))
            CheckBiography(DecodeBiography(*biographies_, biographyRecord(n)), biographyRecord(n), add, kBiographyFile);
    });
    if (biographies_ && biographies_->size() < biographyRecord(count())) {
        const int first =
            int((std::max<qsizetype>(biographies_->size(), system_save::kHeaderSize) - system_save::kHeaderSize) /
                biography::kRecordSize);
        found.push_back(
            {-1, QStringLiteral("biography"), biographyRecord(first), biographies_->size(),
             QStringLiteral("RDText.vk ends inside the biography of %1: those from it on are not shown")
                 .arg(numberOf(first)),
             QStringLiteral("RDText.vk 在新武將 %1 的列傳中途結束：從此以後的列傳都不顯示。").arg(numberOf(first)),
             std::nullopt});
    }
    return found;
}

}  // namespace varkel
