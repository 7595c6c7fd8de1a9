#pragma once

#include "shared/record_filter.h"
#include "shared/record_kind.h"

#include <QAbstractTableModel>
#include <QByteArray>
#include <QSortFilterProxyModel>
#include <QString>

#include <optional>
#include <utility>
#include <vector>

namespace varkel {

// `text` as its code page 950 bytes, which sort as the game's names sort.
QByteArray Big5SortKey(const QString& text);

// The records of one kind as a table: the record's number, its name where no field
// holds it, then a column per field of the kind, captioned as the views caption it. Cells show what the
// views show (list texts, the names of the records a number points to); they sort
// numbers as numbers, lists in their list order and names in Big5 order.
class RecordTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kNumberColumn = 0;

    explicit RecordTableModel(QObject* parent = nullptr);

    // Shows every record of `kind`, read now. `kind` stays in use until the next
    // show(): it must stay bound as long.
    void show(const RecordKind& kind);
    // Reads `records` (places) again from `kind` as it is now bound (the kind shown);
    // every record when their count changed.
    void refresh(const RecordKind& kind, const std::vector<int>& records);
    void refreshAll(const RecordKind& kind);

    const RecordKind* kind() const { return kind_; }
    // The name's column, -1 when a field shows the name; the first field's column.
    int nameColumn() const { return firstFieldColumn_ > 1 ? 1 : -1; }
    int firstFieldColumn() const { return firstFieldColumn_; }
    // The field a column shows; nothing for the number and the name.
    std::optional<std::size_t> fieldOf(int column) const;
    // Record `row` as read.
    const std::vector<FieldValue>& values(int row) const { return rows_[std::size_t(row)].values; }
    QString text(int row, int column) const;
    // The text of `column` that takes the most room (a double-byte character takes
    // two half-width columns), to size the column by.
    QString widestText(int column) const;
    // Whether `left`'s cell of `column` sorts before `right`'s.
    bool lessThan(int column, int left, int right) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    struct Row {
        QString name;
        std::vector<FieldValue> values;
        std::vector<QString> named;      // per field: the name its number points to, or empty
        std::vector<QByteArray> sortKeys;  // per column that sorts by text: the text in Big5
    };
    Row readRow(int n) const;
    // The number a cell sorts by; texts sort by their Big5 key instead.
    qint64 sortNumber(int row, int column) const;

    const RecordKind* kind_ = nullptr;
    int firstFieldColumn_ = 1;
    std::vector<Row> rows_;
    std::vector<int> namedTextOf_;  // per field: its index in namedTextKeys(), -1 for none
    std::vector<int> textKeyOf_;    // per column: its index in Row::sortKeys, -1 for a number
};

// The records a filter of the kind's little language picks, sorted as the table
// sorts its cells.
class RecordFilterModel : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit RecordFilterModel(RecordTableModel& table, QObject* parent = nullptr);

    // Picks the records `text` picks; false, the reason in `error`, when it cannot
    // be read: the records picked before stay shown.
    bool setFilterText(const QString& text, FilterError* error);
    QString filterText() const { return text_; }
    // Reads the filter again against the kind (after its records changed).
    void reread();
    // The places of the records shown, in the order shown.
    std::vector<int> shownRecords() const;

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    RecordTableModel& table_;
    std::optional<RecordFilter> filter_;
    QString text_;
};

}  // namespace varkel
