#pragma once

#include "saveeditor/city_record.h"
#include "saveeditor/save_tables.h"
#include "shared/record_kind.h"

#include <QStringList>

namespace varkel {

// The 50 cities of a saved game: their field table over the city codec, with the
// names of the city, its corps' commander, its force, its head and its bandits'
// leader beside it. A new head is a head change: the old head becomes an ordinary
// officer and the new one takes its status, so a store can write the status words
// of the officers staying in the city as well as the city's record.
class CityKind : public TableKind<CityRecord> {
public:
    // `cityNames` come from the game folder's scenario file; empty when it is not at hand.
    explicit CityKind(QStringList cityNames = {});

    int count() const override { return city::kCount; }
    QString recordName(int n) const override;
    std::vector<std::pair<QString, QString>> namedTexts(int n) const override;
    QStringList namedTextKeys() const override;
    QString namedTextCaption(const QString& key) const override;
    // The record, and the status words of the officers who stay in the city and
    // could head it: the ones a head change writes.
    std::vector<Extent> extents(int n) const override;
    // Corps and bandit leaders outside their tables, serving officers placed
    // outside the 50 cities, cities with officers but no head, and corps without
    // a commander to give their cities a force.
    std::vector<Finding> check() const override;

private:
    struct Decoded {
        CityHeads heads;
        CityOfficers officers;
        CityRecord record;
    };
    Decoded decoded(int n) const;
    void loaded() override;
    CityRecord decode(int n) const override { return decoded(n).record; }
    // Checks the whole record against what is stored and runs a head change.
    std::optional<FieldProblem> store(int n, CityRecord& r, const Changes& changes) override;

    QStringList cityNames_;
    SaveTables tables_;
};

}  // namespace varkel
