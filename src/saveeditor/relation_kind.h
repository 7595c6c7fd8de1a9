#pragma once

#include "saveeditor/relation_record.h"
#include "saveeditor/save_tables.h"
#include "shared/record_kind.h"

#include <QStringList>

namespace varkel {

// The 256 relationships of a saved game: their field table over the relationship
// codec, with the parties' names beside it. Records are read from copy 0 and
// stored into all eight copies, as the relationship view stores them.
class RelationKind : public TableKind<Relation> {
public:
    RelationKind();

    int count() const override { return relation::kCount; }
    // The parties and the type ("甲 結義 乙"); "──" alone for a record without one.
    QString recordName(int n) const override;
    std::vector<std::pair<QString, QString>> namedTexts(int n) const override;
    QStringList namedTextKeys() const override;
    std::vector<Extent> extents(int n) const override;
    // Records whose copies 1..7 differ from copy 0, and parties stored at or above
    // the officer count (1023 is no party). Both have a mend: copy 0 into every
    // copy, and no party in place of the one that is no officer.
    std::vector<Finding> check() const override;
    // Writes copy 0 of record n, as stored, into the seven other copies.
    std::optional<FieldProblem> alignCopies(int n) override;

private:
    void loaded() override;
    Relation decode(int n) const override { return DecodeRelation(file(), tables_.officerCount, n); }
    std::optional<FieldProblem> store(int n, Relation& r, const Changes& changes) override;

    SaveTables tables_;
};

}  // namespace varkel
