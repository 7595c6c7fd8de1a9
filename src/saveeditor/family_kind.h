#pragma once

#include "saveeditor/family_record.h"
#include "shared/record_kind.h"

namespace varkel {

// The sixteen family members of a saved game: their field table over the member
// codec, and a child's biography. Members 0..7 are children, 8..15 spouses; a
// spouse has no biography, ability caps or growth values, so those fields are
// absent from its record and refused on an edit.
class FamilyKind : public RecordKind {
public:
    FamilyKind();

    QString name() const override { return QStringLiteral("family"); }
    QString recordKind(int) const override { return QStringLiteral("family_member"); }
    const std::vector<const FieldSpec*>& fields() const override { return specs_; }
    void load(QByteArray& file) override { save_ = &file; }
    int count() const override { return family::kMemberCount; }
    QString recordName(int n) const override;
    std::vector<FieldValue> read(int n) const override;
    std::optional<FieldProblem> write(int n, const std::map<std::size_t, FieldValue>& changes) override;
    std::vector<Extent> extents(int n) const override;
    std::vector<Finding> check() const override;

private:
    bool isBiography(std::size_t i) const { return i == fields_.size(); }
    // A child's own: the biography, the caps and the growth values.
    bool childOnly(std::size_t i) const;

    std::vector<const RecordField<FamilyMember>*> fields_;
    FieldSpec biography_;  // after the table's fields
    std::vector<const FieldSpec*> specs_;
    QByteArray* save_ = nullptr;
};

}  // namespace varkel
