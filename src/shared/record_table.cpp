#include "shared/record_table.h"

#include "shared/big5.h"

#include <algorithm>
#include <numeric>

namespace varkel {

QByteArray Big5SortKey(const QString& text)
{
    QByteArray key;
    key.reserve(text.size() * 2);
    const Big5& big5 = Big5::instance();
    for (const QChar ch : text) {
        const std::uint16_t code = big5.encode(ch.unicode());
        if (code > 0xFF)
            key.append(char(code >> 8));
        key.append(char(code & 0xFF));
    }
    return key;
}

namespace {

bool sortsByText(const FieldSpec& field)
{
    return field.kind == FieldKind::Name;
}

// The half-width columns `text` takes on screen: two for a wide (CJK) character.
int halfWidthColumns(const QString& text)
{
    int columns = 0;
    for (const QChar ch : text)
        columns += ch.unicode() >= 0x1100 ? 2 : 1;
    return columns;
}

QString joined(const std::vector<int>& list, const QStringList* items, const QString& separator)
{
    QStringList parts;
    for (const int value : list)
        parts << (items && value >= 0 && value < items->size() ? (*items)[value] : QString::number(value));
    return parts.join(separator);
}

}  // namespace

RecordTableModel::RecordTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void RecordTableModel::show(const RecordKind& kind)
{
    beginResetModel();
    kind_ = &kind;
    firstFieldColumn_ = kind.nameKey().isEmpty() ? 2 : 1;
    const auto& fields = kind.fields();
    const QStringList namedKeys = kind.namedTextKeys();
    namedTextOf_.assign(fields.size(), -1);
    for (std::size_t i = 0; i < fields.size(); ++i)
        for (const char* suffix : {"_text", "_name"})
            if (const int at = int(namedKeys.indexOf(fields[i]->key + QLatin1String(suffix))); at >= 0)
                namedTextOf_[i] = at;
    textKeyOf_.assign(std::size_t(firstFieldColumn_) + fields.size(), -1);
    int keys = 0;
    if (nameColumn() >= 0)
        textKeyOf_[std::size_t(nameColumn())] = keys++;
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (sortsByText(*fields[i]))
            textKeyOf_[std::size_t(firstFieldColumn_) + i] = keys++;
    rows_.clear();
    rows_.reserve(std::size_t(kind.count()));
    for (int n = 0; n < kind.count(); ++n)
        rows_.push_back(readRow(n));
    endResetModel();
}

RecordTableModel::Row RecordTableModel::readRow(int n) const
{
    Row row;
    row.name = kind_->recordName(n);
    row.values = kind_->read(n);
    const auto& fields = kind_->fields();
    row.named.resize(fields.size());
    if (std::any_of(namedTextOf_.begin(), namedTextOf_.end(), [](int k) { return k >= 0; })) {
        const QStringList keys = kind_->namedTextKeys();
        for (const auto& [key, value] : kind_->namedTexts(n))
            for (std::size_t i = 0; i < fields.size(); ++i)
                if (namedTextOf_[i] >= 0 && keys[namedTextOf_[i]] == key)
                    row.named[i] = value;
    }
    if (nameColumn() >= 0)
        row.sortKeys.push_back(Big5SortKey(row.name));
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (sortsByText(*fields[i]))
            row.sortKeys.push_back(Big5SortKey(row.values[i].text));
    return row;
}

void RecordTableModel::refresh(const RecordKind& kind, const std::vector<int>& records)
{
    Q_ASSERT(&kind == kind_);
    if (kind.count() != int(rows_.size()) || records.size() * 4 > rows_.size()) {
        refreshAll(kind);
        return;
    }
    for (const int n : records) {
        if (n < 0 || n >= int(rows_.size()))
            continue;
        rows_[std::size_t(n)] = readRow(n);
        emit dataChanged(index(n, 0), index(n, columnCount() - 1));
    }
}

void RecordTableModel::refreshAll(const RecordKind& kind)
{
    if (kind.count() != int(rows_.size()) || &kind != kind_) {
        show(kind);
        return;
    }
    for (int n = 0; n < int(rows_.size()); ++n)
        rows_[std::size_t(n)] = readRow(n);
    if (!rows_.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

std::optional<std::size_t> RecordTableModel::fieldOf(int column) const
{
    if (!kind_ || column < firstFieldColumn_ || column >= columnCount())
        return std::nullopt;
    return std::size_t(column - firstFieldColumn_);
}

int RecordTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(rows_.size());
}

int RecordTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() || !kind_ ? 0 : firstFieldColumn_ + int(kind_->fields().size());
}

QString RecordTableModel::text(int row, int column) const
{
    const Row& r = rows_[std::size_t(row)];
    if (column == kNumberColumn)
        return QString::number(kind_->numberOf(row));
    if (column == nameColumn())
        return r.name;
    const std::size_t i = std::size_t(column - firstFieldColumn_);
    const FieldSpec& field = *kind_->fields()[i];
    const FieldValue& v = r.values[i];
    if (v.absent)
        return {};
    switch (field.kind) {
    case FieldKind::Number:
        return r.named[i].isEmpty() ? NumberText(field, v.number) : r.named[i];
    case FieldKind::Choice:
        return ChoiceText(field, v.number);
    case FieldKind::Flag:
        return v.number ? QStringLiteral("是") : QStringLiteral("否");
    case FieldKind::Name:
        return v.text;
    case FieldKind::Skills:
        return joined(v.list, &field.items, QStringLiteral("、"));
    case FieldKind::Tactics:
        return joined(v.list, nullptr, QStringLiteral(" "));
    }
    return {};
}

QString RecordTableModel::widestText(int column) const
{
    QString widest;
    int most = -1;
    for (int row = 0; row < rowCount(); ++row) {
        QString t = text(row, column);
        if (const int columns = halfWidthColumns(t); columns > most) {
            most = columns;
            widest = std::move(t);
        }
    }
    return widest;
}

qint64 RecordTableModel::sortNumber(int row, int column) const
{
    if (column == kNumberColumn)
        return row;
    const std::size_t i = std::size_t(column - firstFieldColumn_);
    const FieldValue& v = rows_[std::size_t(row)].values[i];
    if (v.absent)
        return std::numeric_limits<qint64>::min();
    switch (kind_->fields()[i]->kind) {
    case FieldKind::Skills:
        return qint64(v.list.size());
    case FieldKind::Tactics:
        return std::accumulate(v.list.begin(), v.list.end(), qint64(0));
    default:
        return v.number;
    }
}

bool RecordTableModel::lessThan(int column, int left, int right) const
{
    if (const int key = textKeyOf_[std::size_t(column)]; key >= 0)
        return rows_[std::size_t(left)].sortKeys[std::size_t(key)] <
               rows_[std::size_t(right)].sortKeys[std::size_t(key)];
    return sortNumber(left, column) < sortNumber(right, column);
}

QVariant RecordTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= int(rows_.size()))
        return {};
    if (role == Qt::DisplayRole)
        return text(index.row(), index.column());
    if (role == Qt::TextAlignmentRole) {
        const auto field = fieldOf(index.column());
        const bool number = index.column() == kNumberColumn ||
                            (field && kind_->fields()[*field]->kind == FieldKind::Number &&
                             rows_[std::size_t(index.row())].named[*field].isEmpty());
        return QVariant::fromValue(Qt::Alignment(number ? Qt::AlignRight | Qt::AlignVCenter
                                                        : Qt::AlignLeft | Qt::AlignVCenter));
    }
    return {};
}

QVariant RecordTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || !kind_ || section < 0 || section >= columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole) {
        if (section == kNumberColumn)
            return QStringLiteral("編號");
        if (section == nameColumn())
            return QStringLiteral("名稱");
        return kind_->fields()[std::size_t(section - firstFieldColumn_)]->label;
    }
    if (role == Qt::ToolTipRole && section >= firstFieldColumn_)
        return kind_->fields()[std::size_t(section - firstFieldColumn_)]->key;
    return {};
}

RecordFilterModel::RecordFilterModel(RecordTableModel& table, QObject* parent)
    : QSortFilterProxyModel(parent), table_(table)
{
    setSourceModel(&table);
}

bool RecordFilterModel::setFilterText(const QString& text, FilterError* error)
{
    if (!table_.kind())
        return false;
    auto filter = RecordFilter::parse(*table_.kind(), text, error);
    if (!filter)
        return false;
    text_ = text;
    filter_ = std::move(filter);
    invalidateRowsFilter();
    return true;
}

void RecordFilterModel::reread()
{
    if (!table_.kind() || !filter_)
        return;
    FilterError error;
    if (auto filter = RecordFilter::parse(*table_.kind(), text_, &error))
        filter_ = std::move(filter);
    invalidateRowsFilter();
}

std::vector<int> RecordFilterModel::shownRecords() const
{
    std::vector<int> records;
    records.reserve(std::size_t(rowCount()));
    for (int r = 0; r < rowCount(); ++r)
        records.push_back(mapToSource(index(r, 0)).row());
    return records;
}

bool RecordFilterModel::filterAcceptsRow(int row, const QModelIndex&) const
{
    return !filter_ || filter_->empty() || filter_->matches(*table_.kind(), row, table_.values(row));
}

bool RecordFilterModel::lessThan(const QModelIndex& left, const QModelIndex& right) const
{
    return table_.lessThan(left.column(), left.row(), right.row());
}

}  // namespace varkel
