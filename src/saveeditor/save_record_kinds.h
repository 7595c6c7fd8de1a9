#pragma once

#include "saveeditor/officer_record.h"
#include "saveeditor/save_tables.h"
#include "shared/record_kind.h"

#include <QStringList>

namespace varkel {

// The officers of a saved game: their field table over the officer codec. City
// names come from the scenario file and are left out when it is not known.
class OfficerKind : public RecordKind {
public:
    explicit OfficerKind(QStringList cityNames = {});

    QString name() const override { return QStringLiteral("officers"); }
    QString recordKind(int) const override { return QStringLiteral("officer"); }
    const std::vector<const FieldSpec*>& fields() const override { return specs_; }
    void load(QByteArray& file) override;
    int count() const override { return tables_.officerCount; }
    QString recordName(int n) const override;
    std::vector<FieldValue> read(int n) const override;
    std::vector<std::pair<QString, QString>> namedTexts(int n) const override;
    QStringList namedTextKeys() const override { return {QStringLiteral("force_text"), QStringLiteral("city_text")}; }
    std::optional<FieldProblem> write(int n, const std::map<std::size_t, FieldValue>& changes) override;
    std::vector<Extent> extents(int n) const override;
    std::vector<Finding> check() const override;

    const SaveTables& tables() const { return tables_; }

private:
    // The officer last decoded: its fields and its named texts are asked for in turn.
    const OfficerRecord& decoded(int n) const;

    std::vector<const RecordField<OfficerRecord>*> fields_;
    std::vector<const FieldSpec*> specs_;
    QStringList cityNames_;
    QByteArray* file_ = nullptr;
    SaveTables tables_;
    mutable int decodedNumber_ = -1;
    mutable OfficerRecord decoded_;
};

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

// Problems of a saved game as a whole: its size, and references that point
// outside the tables they name.
std::vector<RecordKind::Finding> CheckSaveStructure(const QByteArray& save);

}  // namespace varkel
