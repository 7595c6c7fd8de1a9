#pragma once

#include "neweditor/new_officer_layout.h"
#include "saveeditor/member_record.h"
#include "shared/record_kind.h"

namespace varkel {

// The new officers of a system save: their field table over the 148-byte record
// codec, and each one's biography from the biography file given to the
// constructor. Records are numbered as the officers they become, 660..759.
class NewOfficerKind : public RecordKind {
public:
    // `biographies` ("RDText.vk", which must outlive the kind) or null when it is
    // not at hand: then no record has a biography and none can be set.
    explicit NewOfficerKind(QByteArray* biographies = nullptr);

    QString name() const override { return QStringLiteral("newofficers"); }
    QString recordKind(int) const override { return QStringLiteral("new_officer"); }
    const std::vector<const FieldSpec*>& fields() const override { return specs_; }
    int firstNumber() const override { return system_save::kFirstOfficerNumber; }
    void load(QByteArray& file) override { file_ = &file; }
    int count() const override { return system_save::kRecordCount; }
    QString recordName(int n) const override;
    std::vector<FieldValue> read(int n) const override;
    std::optional<FieldProblem> write(int n, const std::map<std::size_t, FieldValue>& changes) override;
    std::vector<QByteArray*> alsoWritten() const override;
    std::vector<Extent> extents(int n) const override;
    std::vector<Finding> check() const override;

private:
    bool isBiography(std::size_t i) const { return i == fields_.size(); }

    std::vector<const RecordField<MemberRecord>*> fields_;
    FieldSpec biography_;  // after the table's fields
    std::vector<const FieldSpec*> specs_;
    QByteArray* biographies_ = nullptr;
    QByteArray* file_ = nullptr;
};

}  // namespace varkel
