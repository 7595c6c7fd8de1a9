#pragma once

#include "neweditor/new_officer_layout.h"
#include "person/member_record.h"
#include "shared/record_kind.h"

namespace varkel {

// The new officers of a system save: their field table over the 148-byte record
// codec, and each one's biography from the biography file given to the
// constructor. Records are numbered as the officers they become, 660..759.
class NewOfficerKind : public TableKind<MemberRecord> {
public:
    // `biographies` ("RDText.vk", which must outlive the kind) or null when it is
    // not at hand: then no record has a biography and none can be set.
    explicit NewOfficerKind(QByteArray* biographies = nullptr);

    int firstNumber() const override { return system_save::kFirstOfficerNumber; }
    int count() const override { return system_save::kRecordCount; }
    QString recordName(int n) const override;
    QString nameKey() const override { return QStringLiteral("full_name"); }
    std::vector<FieldValue> read(int n) const override;
    std::vector<QByteArray*> alsoWritten() const override;
    std::vector<Extent> extents(int n) const override;
    std::vector<Finding> check() const override;

private:
    MemberRecord decode(int n) const override;
    std::optional<FieldProblem> store(int n, MemberRecord& r, const Changes& changes) override;

    FieldSpec biography_;  // after the table's fields
    QByteArray* biographies_ = nullptr;
};

}  // namespace varkel
