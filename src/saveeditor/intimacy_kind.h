#pragma once

#include "saveeditor/intimacy_stream.h"
#include "saveeditor/save_layout.h"
#include "shared/record_kind.h"

#include <QStringList>

namespace varkel {

// One position of an intimacy list: the level, and the slot and the officer it
// belongs to.
struct IntimacyLevel {
    int slot = 0;
    int officer = save::kNoPerson;
    int level = 0;
};

// How the officer of one player slot regards others: one record per position of
// its general stream (the officers the person map names, as many as the intimacy
// list shows) or of its special stream (the seven special persons). Each record is
// the level, with the slot and the officer the position belongs to, read-only.
// The special levels are a sort of their own, so an edit of one list never lands
// on the other.
class IntimacyKind : public TableKind<IntimacyLevel> {
public:
    IntimacyKind(int slot, bool special);

    int count() const override { return rows_; }
    QString recordName(int n) const override;
    QString nameKey() const override { return QStringLiteral("officer"); }  // shown by its name
    std::vector<std::pair<QString, QString>> namedTexts(int n) const override;
    QStringList namedTextKeys() const override { return {QStringLiteral("officer_name")}; }
    std::vector<Extent> extents(int n) const override;
    std::optional<int> recordAbout(int officer) const override;

private:
    void loaded() override;
    IntimacyLevel decode(int n) const override;
    std::optional<FieldProblem> store(int n, IntimacyLevel& r, const Changes& changes) override;
    int officerAt(int n) const;

    int slot_;
    bool special_;
    LevelStream stream_;
    int rows_ = 0;
    QStringList officerNames_;
};

}  // namespace varkel
