#pragma once

#include "saveeditor/officer_record.h"
#include "saveeditor/save_tables.h"
#include "shared/record_kind.h"

#include <QStringList>

namespace varkel {

// The officers of a saved game: their field table over the officer codec. City
// names come from the scenario file and are left out when it is not known.
class OfficerKind : public TableKind<OfficerRecord> {
public:
    explicit OfficerKind(QStringList cityNames = {});

    int count() const override { return tables_.officerCount; }
    QString recordName(int n) const override;
    QString nameKey() const override { return QStringLiteral("full_name"); }
    std::vector<FieldValue> read(int n) const override;
    std::vector<std::pair<QString, QString>> namedTexts(int n) const override;
    QStringList namedTextKeys() const override;
    std::vector<Extent> extents(int n) const override;
    std::vector<Finding> check() const override;

    const SaveTables& tables() const { return tables_; }

private:
    void loaded() override;
    OfficerRecord decode(int n) const override { return DecodeOfficer(file(), n); }
    std::optional<FieldProblem> store(int n, OfficerRecord& r, const Changes& changes) override;
    // The officer last decoded: its fields and its named texts are asked for in turn.
    const OfficerRecord& decoded(int n) const;

    QStringList cityNames_;
    SaveTables tables_;
    mutable int decodedNumber_ = -1;
    mutable OfficerRecord decoded_;
};

// Problems of a saved game as a whole: its size, and references that point
// outside the tables they name.
std::vector<RecordKind::Finding> CheckSaveStructure(const QByteArray& save);

}  // namespace varkel
