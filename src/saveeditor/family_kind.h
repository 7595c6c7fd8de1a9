#pragma once

#include "saveeditor/family_record.h"
#include "shared/record_kind.h"

namespace varkel {

// The sixteen family members of a saved game: their field table over the member
// codec, and a child's biography. Members 0..7 are children, 8..15 spouses; a
// spouse has no biography, ability caps or growth values, so those fields are
// absent from its record and refused on an edit.
class FamilyKind : public TableKind<FamilyMember> {
public:
    FamilyKind();

    int count() const override { return family::kMemberCount; }
    QString recordName(int n) const override;
    QString nameKey() const override { return QStringLiteral("full_name"); }
    std::vector<FieldValue> read(int n) const override;
    std::vector<Extent> extents(int n) const override;
    std::vector<Finding> check() const override;

private:
    FamilyMember decode(int n) const override { return DecodeFamilyMember(file(), n); }
    std::optional<FieldProblem> store(int n, FamilyMember& m, const Changes& changes) override;
    bool isBiography(std::size_t i) const { return i == table().size(); }
    // A child's own: the biography, the caps and the growth values.
    bool childOnly(std::size_t i) const;

    FieldSpec biography_;  // after the table's fields
};

}  // namespace varkel
