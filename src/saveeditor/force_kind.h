#pragma once

#include "saveeditor/force_record.h"
#include "shared/record_kind.h"

#include <QStringList>

namespace varkel {

// The 68 force records of a saved game: their field table over the force codec,
// with the leader's name and the court rank's name beside it.
class ForceKind : public TableKind<ForceRecord> {
public:
    // `rankNames` are the scenario file's 32 court ranks; empty when it is not at hand.
    explicit ForceKind(QStringList rankNames = {});

    int count() const override { return force::kCount; }
    // The state name.
    QString recordName(int n) const override;
    QString nameKey() const override { return QStringLiteral("name"); }
    std::vector<std::pair<QString, QString>> namedTexts(int n) const override;
    QStringList namedTextKeys() const override;
    QString namedTextCaption(const QString& key) const override;
    std::vector<Extent> extents(int n) const override;

private:
    void loaded() override;
    ForceRecord decode(int n) const override { return DecodeForce(file(), n); }
    std::optional<FieldProblem> store(int n, ForceRecord& r, const Changes& changes) override;

    QStringList rankNames_;
    QStringList forceNames_;  // the leader's name per force byte
};

}  // namespace varkel
