#include "shared/record_writer.h"

#include <algorithm>
#include <string_view>
#include <type_traits>

namespace varkel {

namespace {

std::string utf8(const QString& text)
{
    return text.toStdString();
}

void appendJsonString(std::string& out, const std::string& text)
{
    out += '"';
    // Runs that need no escape are copied whole.
    std::size_t run = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && c != '"' && c != '\\')
            continue;
        out.append(text, run, i - run);
        run = i + 1;
        if (u >= 0x20) {
            out += '\\';
            out += c;
        } else {
            static const char hex[] = "0123456789abcdef";
            out += "\\u00";
            out += hex[u >> 4];
            out += hex[u & 15];
        }
    }
    out.append(text, run);
    out += '"';
}

void appendCsv(std::string& out, const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        out += text;
        return;
    }
    out += '"';
    for (const char c : text)
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    out += '"';
}

// A text a spreadsheet would take for a formula (=, +, -, @, a tab or a carriage
// return first) gets an apostrophe in front, the guard spreadsheets themselves
// use; so does a text that starts with an apostrophe, so a reader takes exactly
// one off every cell that starts with one. Numbers are never guarded: a negative
// number stays a number.
void guardFormula(std::string& text)
{
    if (!text.empty() && std::string_view("=+-@\t\r'").find(text.front()) != std::string_view::npos)
        text.insert(text.begin(), '\'');
}

// Items separated by commas. Appended piece by piece: GCC 12 at -O3 warns falsely
// (-Wrestrict) about `"," + std::string`.
template <typename Item>
void appendJoined(std::string& out, const std::vector<Item>& items)
{
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i)
            out += ',';
        if constexpr (std::is_same_v<Item, std::string>)
            out += items[i];
        else
            out += std::to_string(items[i]);
    }
}

const QString kListTextSuffix = QStringLiteral("_text");

}  // namespace

QStringList ColumnKeys(const RecordKind& kind)
{
    QStringList keys = {QStringLiteral("kind"), QStringLiteral("number")};
    for (const FieldSpec* field : kind.fields()) {
        keys << field->key;
        if (field->kind == FieldKind::Choice)
            keys << field->key + kListTextSuffix;
    }
    return keys + kind.namedTextKeys();
}

QString ColumnCaption(const RecordKind& kind, const QString& key)
{
    if (key == QLatin1String("kind"))
        return QStringLiteral("記錄種類");  // 種類 is a field of the treasures
    if (key == QLatin1String("number"))
        return QStringLiteral("編號");
    for (const FieldSpec* field : kind.fields()) {
        // Some labels are padded to line up in their view; a field without one keeps its key.
        const QString label = field->label.trimmed().isEmpty() ? field->key : field->label.trimmed();
        if (key == field->key)
            return label;
        if (field->kind == FieldKind::Choice && key == field->key + kListTextSuffix)
            return label + QStringLiteral("文字");
    }
    if (kind.namedTextKeys().contains(key))
        return kind.namedTextCaption(key);
    return key;
}

QHash<QString, QString> ColumnsByName(const RecordKind& kind)
{
    QHash<QString, QString> columns;
    for (const QString& key : ColumnKeys(kind)) {
        columns.insert(ColumnCaption(kind, key), key);
        columns.insert(key, key);  // a key wins over a caption that happens to read the same
    }
    return columns;
}

RecordWriter::RecordWriter(const RecordKind& kind) : kind_(kind)
{
    const QStringList keys = ColumnKeys(kind);
    for (const QString& key : keys)
        columns_.push_back(utf8(key));
    for (const FieldSpec* field : kind.fields()) {
        columnOfField_.push_back(int(keys.indexOf(field->key)));
        std::vector<std::string> items;
        for (const QString& item : field->items)
            items.push_back(utf8(item));
        itemTexts_.push_back(std::move(items));
    }
    for (const std::string& column : columns_) {
        std::string key;
        appendJsonString(key, column);
        jsonKeys_.push_back(key + ':');
    }
}

const std::vector<RecordWriter::Cell>& RecordWriter::cells(int n) const
{
    std::vector<Cell>& row = row_;
    row.resize(columns_.size());
    for (Cell& cell : row) {
        cell.type = Cell::None;
        cell.text.clear();
        cell.texts.clear();
        cell.numbers.clear();
    }
    putText(0, utf8(kind_.recordKind(n)));
    putNumber(1, kind_.numberOf(n));
    const auto& fields = kind_.fields();
    const std::vector<FieldValue> values = kind_.read(n);
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (!values[i].absent)
            putField(i, *fields[i], values[i]);
    const std::size_t named = columns_.size() - std::size_t(kind_.namedTextKeys().size());
    for (const auto& [key, value] : kind_.namedTexts(n)) {
        const auto at = std::find(columns_.begin() + long(named), columns_.end(), utf8(key));
        if (at != columns_.end())
            putText(std::size_t(at - columns_.begin()), utf8(value));
    }
    return row;
}

void RecordWriter::putNumber(std::size_t column, long long value, Cell::Type type) const
{
    row_[column].type = type;
    row_[column].number = value;
}

void RecordWriter::putText(std::size_t column, const std::string& value) const
{
    row_[column].type = Cell::Text;
    row_[column].text = value;
}

void RecordWriter::putField(std::size_t i, const FieldSpec& field, const FieldValue& v) const
{
    const std::size_t column = std::size_t(columnOfField_[i]);
    Cell& cell = row_[column];
    const auto& items = itemTexts_[i];
    auto itemText = [&](int code) {
        return code >= 0 && code < int(items.size()) ? items[code] : std::to_string(code);
    };
    switch (field.kind) {
    case FieldKind::Name:
        putText(column, utf8(v.text));
        break;
    case FieldKind::Flag:
        putNumber(column, v.number, Cell::Bool);
        break;
    case FieldKind::Skills:
        cell.type = Cell::Texts;
        for (const int s : v.list)
            cell.texts.push_back(itemText(s));
        break;
    case FieldKind::Tactics:
        cell.type = Cell::Numbers;
        cell.numbers = v.list;
        break;
    case FieldKind::Choice:
        putNumber(column, v.number);
        putText(column + 1, itemText(v.number));
        break;
    case FieldKind::Number:
        if (field.halves) {
            cell.type = Cell::Decimal;  // 7.5
            cell.text = utf8(NumberText(field, v.number));
        } else {
            putNumber(column, v.number);
        }
        break;
    }
}

std::string RecordWriter::json(int n) const
{
    const std::vector<Cell>& row = cells(n);
    std::string out = "{";
    out.reserve(1024);
    for (std::size_t c = 0; c < row.size(); ++c) {
        const Cell& cell = row[c];
        if (cell.type == Cell::None)
            continue;
        if (out.size() > 1)
            out += ',';
        out += jsonKeys_[c];
        switch (cell.type) {
        case Cell::Number:
            out += std::to_string(cell.number);
            break;
        case Cell::Decimal:
            out += cell.text;
            break;
        case Cell::Bool:
            out += cell.number ? "true" : "false";
            break;
        case Cell::Text:
            appendJsonString(out, cell.text);
            break;
        case Cell::Texts:
            out += '[';
            for (std::size_t i = 0; i < cell.texts.size(); ++i) {
                if (i)
                    out += ',';
                appendJsonString(out, cell.texts[i]);
            }
            out += ']';
            break;
        case Cell::Numbers:
            out += '[';
            appendJoined(out, cell.numbers);
            out += ']';
            break;
        case Cell::None:
            break;
        }
    }
    return out + "}";
}

std::string RecordWriter::csvHeader(ColumnNames names) const
{
    std::string out;
    for (std::size_t c = 0; c < columns_.size(); ++c) {
        if (c)
            out += ',';
        appendCsv(out, names == ColumnNames::Keys
                           ? columns_[c]
                           : utf8(ColumnCaption(kind_, QString::fromStdString(columns_[c]))));
    }
    return out + "\r\n";
}

std::string RecordWriter::csvRow(int n) const
{
    const std::vector<Cell>& row = cells(n);
    std::string out;
    for (std::size_t c = 0; c < row.size(); ++c) {
        if (c)
            out += ',';
        const Cell& cell = row[c];
        std::string text;
        switch (cell.type) {
        case Cell::Number:
            text = std::to_string(cell.number);
            break;
        case Cell::Bool:
            text = cell.number ? "true" : "false";
            break;
        case Cell::Text:
            text = cell.text;
            guardFormula(text);
            break;
        case Cell::Decimal:
            text = cell.text;
            break;
        case Cell::Texts:
            appendJoined(text, cell.texts);
            guardFormula(text);
            break;
        case Cell::Numbers:
            appendJoined(text, cell.numbers);
            break;
        case Cell::None:
            break;
        }
        appendCsv(out, text);
    }
    return out + "\r\n";
}

}  // namespace varkel
