#pragma once

#include "saveeditor/treasure_record.h"
#include "shared/record_kind.h"

#include <QStringList>

namespace varkel {

// The treasures: their field table over the treasure codec. Loaded on a saved
// game, a treasure is its owner from the save and its attributes from the
// scenario bytes given to the constructor; loaded on the scenario file itself
// (none given), it is its attributes only and has no owner.
class TreasureKind : public RecordKind {
public:
    // `scenario` (the game folder's "d_sce.vk", which must outlive the kind) makes
    // this the treasures of a saved game. `notes` are the 80 picture notes, or
    // empty when they are not at hand.
    explicit TreasureKind(QByteArray* scenario = nullptr, QStringList notes = {});

    QString name() const override { return QStringLiteral("treasures"); }
    QString recordKind(int) const override { return QStringLiteral("treasure"); }
    const std::vector<const FieldSpec*>& fields() const override { return specs_; }
    void load(QByteArray& file) override;
    int count() const override { return treasure::kCount; }
    QString recordName(int n) const override;
    std::vector<FieldValue> read(int n) const override;
    std::vector<std::pair<QString, QString>> namedTexts(int n) const override;
    QStringList namedTextKeys() const override;
    std::optional<FieldProblem> write(int n, const std::map<std::size_t, FieldValue>& changes) override;
    std::vector<QByteArray*> alsoWritten() const override;
    std::vector<Extent> extents(int n) const override;
    std::vector<Finding> check() const override;

private:
    bool ofSave() const { return companion_ != nullptr; }
    TreasureRecord decoded(int n) const;

    std::vector<const RecordField<TreasureRecord>*> fields_;
    std::vector<const FieldSpec*> specs_;
    QByteArray* companion_ = nullptr;  // the scenario bytes of a saved game's treasures
    QStringList notes_;
    QByteArray* scenario_ = nullptr;   // attributes
    QByteArray* save_ = nullptr;       // owners; null on the scenario file
    QStringList officerNames_;
};

}  // namespace varkel
