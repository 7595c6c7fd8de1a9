#pragma once

#include "saveeditor/force_record.h"
#include "shared/record_kind.h"

#include <QStringList>

namespace varkel {

// The 68 force records of a saved game: their field table over the force codec,
// with the leader's name and the court rank's name beside it.
class ForceKind : public RecordKind {
public:
    // `rankNames` are the scenario file's 32 court ranks; empty when it is not at hand.
    explicit ForceKind(QStringList rankNames = {});

    QString name() const override { return QStringLiteral("forces"); }
    QString recordKind(int) const override { return QStringLiteral("force"); }
    const std::vector<const FieldSpec*>& fields() const override { return specs_; }
    void load(QByteArray& file) override;
    int count() const override { return force::kCount; }
    // The state name.
    QString recordName(int n) const override;
    std::vector<FieldValue> read(int n) const override;
    std::vector<std::pair<QString, QString>> namedTexts(int n) const override;
    QStringList namedTextKeys() const override;
    std::optional<FieldProblem> write(int n, const std::map<std::size_t, FieldValue>& changes) override;
    std::vector<Extent> extents(int n) const override;

private:
    std::vector<const RecordField<ForceRecord>*> fields_;
    std::vector<const FieldSpec*> specs_;
    QStringList rankNames_;
    QByteArray* save_ = nullptr;
    QStringList forceNames_;  // the leader's name per force byte
};

}  // namespace varkel
