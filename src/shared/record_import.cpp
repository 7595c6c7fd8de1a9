#include "shared/record_import.h"

#include "shared/record_writer.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringDecoder>

#include <algorithm>
#include <cmath>

namespace varkel {

namespace {

const QString kKindColumns[] = {QStringLiteral("kind"), QStringLiteral("記錄種類")};
const QString kNumberColumns[] = {QStringLiteral("number"), QStringLiteral("編號")};

EditsFile refused(const QString& english, const QString& chinese)
{
    EditsFile file;
    file.problem = ImportProblem{english, chinese};
    return file;
}

// The cell of the first column named one of `names`, or nothing.
template <std::size_t N>
std::optional<QString> cellNamed(const ImportRow& row, const QString (&names)[N])
{
    for (const auto& [name, cell] : row.cells)
        if (std::find(std::begin(names), std::end(names), name) != std::end(names))
            return cell;
    return std::nullopt;
}

// A JSON value as `set` takes it typed: flags as 1 and 0, lists joined by commas.
std::optional<QString> typedValue(const QJsonValue& value)
{
    switch (value.type()) {
    case QJsonValue::String:
        return value.toString();
    case QJsonValue::Bool:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QJsonValue::Double: {
        // A whole number as one (JSON has no other), a half as 7.5.
        const double d = value.toDouble();
        if (d == std::floor(d) && std::abs(d) < 9007199254740992.0)
            return QString::number(qint64(d));
        return QString::number(d);
    }
    case QJsonValue::Array: {
        QStringList parts;
        for (const QJsonValue& part : value.toArray()) {
            if (!part.isString() && !(part.isDouble() && part.toDouble() == std::floor(part.toDouble())))
                return std::nullopt;
            parts << *typedValue(part);
        }
        return parts.join(QLatin1Char(','));
    }
    default:
        return std::nullopt;
    }
}

// One object of a JSON file of edits as a row; why not, in the command line's words.
std::optional<ImportRow> jsonRow(const QJsonValue& value, int line, QString* problem)
{
    if (!value.isObject()) {
        *problem = QStringLiteral("every edit must be an object");
        return std::nullopt;
    }
    const QJsonObject object = value.toObject();
    ImportRow row;
    row.line = line;
    for (auto it = object.begin(); it != object.end(); ++it) {
        const auto text = typedValue(it.value());
        if (!text) {
            const QString shown = it.value().isArray() ? QStringLiteral("a list of names or numbers is expected")
                                  : it.value().isObject()
                                      ? QString::fromUtf8(QJsonDocument(it.value().toObject()).toJson(
                                                              QJsonDocument::Compact)) +
                                            QStringLiteral(" is no value")
                                      : QStringLiteral("null is no value");
            *problem = QStringLiteral("%1 %2: %3: %4")
                           .arg(object.value(QLatin1String("kind")).toString())
                           .arg(object.value(QLatin1String("number")).toInteger(-1))
                           .arg(it.key(), shown);
            return std::nullopt;
        }
        row.cells.emplace_back(it.key(), *text);
    }
    return row;
}

// An array of objects or one object, or else one object a line.
EditsFile readJson(const QByteArray& bytes)
{
    EditsFile file;
    QString problem;
    auto take = [&](const QJsonValue& value, int line) {
        auto row = jsonRow(value, line, &problem);
        if (row)
            file.rows.push_back(std::move(*row));
        return row.has_value();
    };
    QJsonParseError error;
    const QJsonDocument whole = QJsonDocument::fromJson(bytes, &error);
    bool read = true;
    if (error.error == QJsonParseError::NoError) {
        if (whole.isArray()) {
            for (const QJsonValue& value : whole.array())
                read = read && take(value, 0);
        } else {
            read = take(whole.object(), 1);
        }
    } else {
        int line = 0;
        for (const QByteArray& text : bytes.split('\n')) {
            ++line;
            if (text.trimmed().isEmpty())
                continue;
            const QJsonDocument object = QJsonDocument::fromJson(text, &error);
            if (error.error != QJsonParseError::NoError)
                return refused(QStringLiteral("line %1 is no JSON").arg(line),
                               QStringLiteral("第 %1 行不是 JSON。").arg(line));
            if (!take(object.isObject() ? QJsonValue(object.object()) : QJsonValue(object.array()), line))
                break;
        }
        read = problem.isEmpty();
    }
    if (!read)
        return refused(problem, QStringLiteral("JSON 檔案的內容不是記錄的修改：%1").arg(problem));
    return file;
}

// A header, then a row per record: each cell under the column its place names.
EditsFile readCsvEdits(const QString& text)
{
    int openQuote = 0;
    const auto records = ReadCsv(text, &openQuote);
    if (!records)
        return refused(QStringLiteral("line %1: a quote is never closed").arg(openQuote),
                       QStringLiteral("第 %1 行的引號沒有結束。").arg(openQuote));
    EditsFile file;
    if (records->empty())
        return file;
    QStringList header = records->front().cells;
    for (QString& name : header) {
        name = name.trimmed();
        if (!name.isEmpty() && header.count(name) > 1)
            return refused(QStringLiteral("column %1 appears twice").arg(name),
                           QStringLiteral("「%1」欄出現了兩次。").arg(name));
    }
    for (auto record = records->begin() + 1; record != records->end(); ++record) {
        const QStringList& cells = record->cells;
        for (qsizetype c = header.size(); c < cells.size(); ++c)
            if (!cells[c].isEmpty())
                return refused(QStringLiteral("line %1 has more cells than the header has columns").arg(record->line),
                               QStringLiteral("第 %1 行的儲存格比標題的欄位多。").arg(record->line));
        ImportRow& row = file.rows.emplace_back();
        row.line = record->line;
        for (qsizetype c = 0; c < std::min(cells.size(), header.size()); ++c) {
            QString cell = cells[c];
            if (cell.startsWith(QLatin1Char('\'')))
                cell.remove(0, 1);
            row.cells.emplace_back(header[c], cell);
        }
    }
    return file;
}

}  // namespace

namespace {

// ReadCsv's walk through the text: the records read so far, and the record and
// cell being read.
class CsvReading {
public:
    explicit CsvReading(const QString& text) : text_(text) {}

    // Reads the character at `i` (two for a CRLF or a doubled quote); the place of
    // the last one it took.
    qsizetype take(qsizetype i) { return quoted_ ? takeQuoted(i) : takePlain(i); }
    // The records, or nothing with the line of the quote that is never closed.
    std::optional<std::vector<CsvRecord>> finish(int* openQuoteLine);

private:
    static constexpr QChar kQuote = QLatin1Char('"');

    bool crlfAt(qsizetype i) const
    {
        return text_[i] == QLatin1Char('\r') && i + 1 < text_.size() && text_[i + 1] == QLatin1Char('\n');
    }
    qsizetype takeQuoted(qsizetype i);
    qsizetype takePlain(qsizetype i);
    void endCell();
    // A record of empty cells only (a blank line) is left out.
    void endRecord();

    const QString& text_;
    std::vector<CsvRecord> records_;
    CsvRecord record_{1, {}};
    QString cell_;
    int line_ = 1;
    bool quoted_ = false;
    bool cellStart_ = true;  // nothing of the cell read yet: a quote here opens a quoted cell
    int quoteLine_ = 0;
};

qsizetype CsvReading::takeQuoted(qsizetype i)
{
    const QChar c = text_[i];
    const bool crlf = crlfAt(i);
    if (c == kQuote && i + 1 < text_.size() && text_[i + 1] == kQuote) {
        cell_ += kQuote;
        ++i;
    } else if (c == kQuote) {
        quoted_ = false;
    } else {
        // A line break in a cell is kept as LF, however the file ends its lines.
        cell_ += crlf ? QChar(QLatin1Char('\n')) : c;
        if (crlf || c == QLatin1Char('\n'))
            ++line_;
        i += crlf ? 1 : 0;
    }
    return i;
}

qsizetype CsvReading::takePlain(qsizetype i)
{
    const QChar c = text_[i];
    if (c == kQuote && cellStart_) {
        quoted_ = true;
        cellStart_ = false;
        quoteLine_ = line_;
    } else if (c == QLatin1Char(',')) {
        endCell();
    } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
        i += crlfAt(i) ? 1 : 0;
        ++line_;
        endRecord();
    } else {
        cell_ += c;
        cellStart_ = false;
    }
    return i;
}

void CsvReading::endCell()
{
    record_.cells << cell_;
    cell_.clear();
    cellStart_ = true;
}

void CsvReading::endRecord()
{
    endCell();
    if (std::any_of(record_.cells.begin(), record_.cells.end(), [](const QString& c) { return !c.isEmpty(); }))
        records_.push_back(std::move(record_));
    record_ = {line_, {}};
}

std::optional<std::vector<CsvRecord>> CsvReading::finish(int* openQuoteLine)
{
    if (quoted_) {
        *openQuoteLine = quoteLine_;
        return std::nullopt;
    }
    endRecord();
    return std::move(records_);
}

}  // namespace

std::optional<std::vector<CsvRecord>> ReadCsv(const QString& text, int* openQuoteLine)
{
    CsvReading reading(text);
    for (qsizetype i = 0; i < text.size(); ++i)
        i = reading.take(i);
    return reading.finish(openQuoteLine);
}

EditsFile ReadEditsFile(const QByteArray& bytes)
{
    const QByteArray body = bytes.startsWith(kUtf8Bom) ? bytes.mid(3) : bytes;
    QStringDecoder utf8(QStringConverter::Utf8);
    const QString text = utf8(body);
    if (utf8.hasError())
        return refused(QStringLiteral("is not UTF-8 text; save it as CSV UTF-8 and try again"),
                       QStringLiteral("檔案不是 UTF-8 編碼的文字，沒有匯入。請在試算表中另存為「CSV UTF-8」後再匯入。"));
    const QString start = text.trimmed().left(1);
    if (start == QLatin1String("[") || start == QLatin1String("{"))
        return readJson(body);
    return readCsvEdits(text);
}

QString RowKind(const ImportRow& row)
{
    return cellNamed(row, kKindColumns).value_or(QString()).trimmed();
}

int RowNumber(const ImportRow& row)
{
    bool ok = false;
    const int number = cellNamed(row, kNumberColumns).value_or(QString()).trimmed().toInt(&ok);
    return ok && number >= 0 ? number : -1;
}

std::optional<std::vector<std::pair<QString, QString>>> RowValues(const RecordKind& kind,
                                                                  const QHash<QString, QString>& columns, int n,
                                                                  const ImportRow& row, ImportProblem* problem)
{
    const std::vector<FieldValue> current = kind.read(n);
    // Whether the record lacks the field of column `key` (its list text's too).
    auto lacks = [&](const QString& key) {
        auto i = kind.fieldIndex(key);
        if (!i && key.endsWith(QLatin1String("_text")))
            i = kind.fieldIndex(key.chopped(5));
        return i && current[*i].absent;
    };
    std::vector<std::pair<QString, QString>> values;
    for (const auto& [name, cell] : row.cells) {
        if (name.isEmpty() && cell.isEmpty())
            continue;
        const QString key = columns.value(name);
        if (key.isEmpty()) {
            *problem = {QStringLiteral("%1: no such field").arg(name), QStringLiteral("沒有「%1」這個欄位。").arg(name)};
            return std::nullopt;
        }
        if (cell.isEmpty() && lacks(key))
            continue;
        values.emplace_back(key, cell);
    }
    return values;
}

BatchResult ImportRows(RecordKind& kind, QByteArray& file, const std::vector<ImportRow>& rows)
{
    BatchResult result;
    result.outcomes.reserve(rows.size());
    const QHash<QString, QString> columns = ColumnsByName(kind);
    for (const ImportRow& row : rows) {
        BatchOutcome& outcome = result.outcomes.emplace_back();
        outcome.number = RowNumber(row);
        outcome.record = outcome.number < 0 ? -1 : kind.recordOf(outcome.number);
        auto refuse = [&outcome](const QString& why) {
            outcome.result = BatchOutcome::Result::Refused;
            outcome.problem = why;
        };
        if (outcome.number < 0) {
            refuse(QStringLiteral("第 %1 行沒有編號，不知道是哪一筆記錄。").arg(row.line));
            continue;
        }
        if (outcome.record < 0) {
            refuse(QStringLiteral("沒有編號 %1 的記錄。").arg(outcome.number));
            continue;
        }
        outcome.recordName = kind.recordName(outcome.record);
        ImportProblem problem;
        const auto values = RowValues(kind, columns, outcome.record, row, &problem);
        if (!values) {
            refuse(problem.chinese);
            continue;
        }
        EditResult edit = EditRecord(kind, file, outcome.record, *values);
        if (edit.problem) {
            refuse(edit.reason);
            continue;
        }
        outcome.changes = std::move(edit.changes);
        outcome.result = outcome.changes.empty() ? BatchOutcome::Result::Unchanged : BatchOutcome::Result::Changed;
    }
    return result;
}

}  // namespace varkel
