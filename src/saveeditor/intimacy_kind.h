#pragma once

#include "saveeditor/intimacy_stream.h"
#include "shared/record_kind.h"

#include <QStringList>

namespace varkel {

// How the officer of one player slot regards others: one record per position of
// its general stream (the officers the person map names, as many as the intimacy
// list shows) or of its special stream (the seven special persons). Each record is
// the level, with the slot and the officer the position belongs to, read-only.
class IntimacyKind : public RecordKind {
public:
    IntimacyKind(int slot, bool special);

    QString name() const override { return QStringLiteral("intimacy"); }
    // The special levels are a sort of their own, so an edit of one list never lands on the other.
    QString recordKind(int) const override
    {
        return special_ ? QStringLiteral("special_intimacy") : QStringLiteral("intimacy");
    }
    const std::vector<const FieldSpec*>& fields() const override { return specs_; }
    void load(QByteArray& file) override;
    int count() const override { return rows_; }
    QString recordName(int n) const override;
    std::vector<FieldValue> read(int n) const override;
    std::vector<std::pair<QString, QString>> namedTexts(int n) const override;
    QStringList namedTextKeys() const override { return {QStringLiteral("officer_name")}; }
    std::optional<FieldProblem> write(int n, const std::map<std::size_t, FieldValue>& changes) override;
    std::vector<Extent> extents(int n) const override;
    std::optional<int> recordAbout(int officer) const override;

private:
    int officerAt(int n) const;

    int slot_;
    bool special_;
    LevelStream stream_;
    std::vector<const FieldSpec*> specs_;
    QByteArray* save_ = nullptr;
    int rows_ = 0;
    QStringList officerNames_;
};

}  // namespace varkel
