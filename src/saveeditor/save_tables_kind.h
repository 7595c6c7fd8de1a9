#pragma once

#include "saveeditor/save_tables.h"
#include "shared/record_kind.h"

namespace varkel {

// The tables derived from a saved game: the officer count, each force with its
// leader, and the officer of each player slot. Shown, never written.
class SaveTablesKind : public RecordKind {
public:
    SaveTablesKind();

    QString name() const override { return QStringLiteral("tables"); }
    QString recordKind(int n) const override;
    const std::vector<const FieldSpec*>& fields() const override { return specs_; }
    void load(QByteArray& file) override;
    int count() const override;
    QString recordName(int n) const override;
    std::vector<FieldValue> read(int n) const override;
    std::optional<FieldProblem> write(int n, const std::map<std::size_t, FieldValue>& changes) override;
    std::vector<Extent> extents(int) const override { return {}; }

private:
    // Record n as (table, number in it).
    std::pair<QString, int> place(int n) const;

    std::vector<FieldSpec> own_;
    std::vector<const FieldSpec*> specs_;
    SaveTables tables_;
    std::vector<int> leaders_;  // the leader's officer number per force byte, -1 for none
};

}  // namespace varkel
