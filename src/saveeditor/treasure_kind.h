#pragma once

#include "saveeditor/save_tables.h"
#include "saveeditor/treasure_record.h"
#include "shared/record_kind.h"

#include <QStringList>

namespace varkel {

// The treasures: their field table over the treasure codec. Loaded on a saved
// game, a treasure is its owner from the save and its attributes from the
// scenario bytes given to the constructor; loaded on the scenario file itself
// (none given), it is its attributes only and has no owner.
class TreasureKind : public TableKind<TreasureRecord> {
public:
    // `scenario` (the game folder's "d_sce.vk", which must outlive the kind) makes
    // this the treasures of a saved game. `notes` are the 80 picture notes, or
    // empty when they are not at hand.
    explicit TreasureKind(QByteArray* scenario = nullptr, QStringList notes = {});

    int count() const override { return treasure::kCount; }
    QString recordName(int n) const override;
    QString nameKey() const override { return QStringLiteral("name"); }
    std::vector<FieldValue> read(int n) const override;
    std::vector<std::pair<QString, QString>> namedTexts(int n) const override;
    QStringList namedTextKeys() const override;
    QString namedTextCaption(const QString& key) const override;
    std::vector<QByteArray*> alsoWritten() const override;
    std::vector<Extent> extents(int n) const override;
    std::vector<Finding> check() const override;

private:
    bool ofSave() const { return companion_ != nullptr; }
    void loaded() override;
    TreasureRecord decode(int n) const override { return DecodeTreasure(*scenario_, save_, n); }
    std::optional<FieldProblem> store(int n, TreasureRecord& r, const Changes& changes) override;

    QByteArray* companion_ = nullptr;  // the scenario bytes of a saved game's treasures
    QStringList notes_;
    QByteArray* scenario_ = nullptr;   // attributes
    QByteArray* save_ = nullptr;       // owners; null on the scenario file
    SaveTables tables_;  // of the saved game
};

}  // namespace varkel
