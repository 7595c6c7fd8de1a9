#pragma once

#include "saveeditor/relation_record.h"
#include "shared/record_kind.h"

#include <QStringList>

namespace varkel {

// The 256 relationships of a saved game: their field table over the relationship
// codec, with the parties' names beside it. Records are read from copy 0 and
// stored into all eight copies, as the relationship view stores them.
class RelationKind : public RecordKind {
public:
    RelationKind();

    QString name() const override { return QStringLiteral("relations"); }
    QString recordKind(int) const override { return QStringLiteral("relation"); }
    const std::vector<const FieldSpec*>& fields() const override { return specs_; }
    void load(QByteArray& file) override;
    int count() const override { return relation::kCount; }
    // The parties and the type ("甲 結義 乙"); "──" alone for a record without one.
    QString recordName(int n) const override;
    std::vector<FieldValue> read(int n) const override;
    std::vector<std::pair<QString, QString>> namedTexts(int n) const override;
    QStringList namedTextKeys() const override;
    std::optional<FieldProblem> write(int n, const std::map<std::size_t, FieldValue>& changes) override;
    std::vector<Extent> extents(int n) const override;
    // Records whose copies 1..7 differ from copy 0, and parties stored at or above
    // the officer count (1023 is no party).
    std::vector<Finding> check() const override;

private:
    Relation decoded(int n) const { return DecodeRelation(*save_, officerCount_, n); }

    std::vector<const RecordField<Relation>*> fields_;
    std::vector<const FieldSpec*> specs_;
    QByteArray* save_ = nullptr;
    int officerCount_ = 0;
    QStringList officerNames_;
};

}  // namespace varkel
