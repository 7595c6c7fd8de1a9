#include "cli_output.h"

namespace varkel::cli {

namespace {

std::string utf8(const QString& text)
{
    return text.toStdString();
}

Json fieldJson(const FieldSpec& field, const FieldValue& value)
{
    switch (field.kind) {
    case FieldKind::Name:
        return utf8(value.text);
    case FieldKind::Flag:
        return value.number != 0;
    case FieldKind::Skills: {
        Json names = Json::array();
        for (const int s : value.list)
            names.push_back(utf8(ChoiceText(field, s)));
        return names;
    }
    case FieldKind::Tactics:
        return value.list;
    case FieldKind::Number:
    case FieldKind::Choice:
        break;
    }
    return value.number;
}

std::string csvCell(const Json& value)
{
    std::string text;
    if (value.is_string()) {
        text = value.get<std::string>();
    } else if (value.is_array()) {
        for (std::size_t i = 0; i < value.size(); ++i)
            text += (i ? "," : "") + (value[i].is_string() ? value[i].get<std::string>() : value[i].dump());
    } else if (!value.is_null()) {
        text = value.dump();
    }
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

}  // namespace

Json RecordJson(const RecordKind& kind, int n)
{
    Json object;
    object["kind"] = utf8(kind.recordKind(n));
    object["number"] = n;
    const auto& fields = kind.fields();
    const std::vector<FieldValue> values = kind.read(n);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (values[i].absent)
            continue;
        const std::string key = utf8(fields[i]->key);
        object[key] = fieldJson(*fields[i], values[i]);
        if (fields[i]->kind == FieldKind::Choice)
            object[key + "_text"] = utf8(ChoiceText(*fields[i], values[i].number));
    }
    for (const auto& [key, text] : kind.namedTexts(n))
        object[utf8(key)] = utf8(text);
    return object;
}

std::string RecordsCsv(const RecordKind& kind, const std::vector<int>& numbers)
{
    std::vector<std::string> columns = {"kind", "number"};
    for (const FieldSpec* field : kind.fields()) {
        columns.push_back(utf8(field->key));
        if (field->kind == FieldKind::Choice)
            columns.push_back(utf8(field->key) + "_text");
    }
    if (kind.count() > 0)
        for (const auto& [key, text] : kind.namedTexts(0))
            columns.push_back(utf8(key));

    std::string out;
    for (std::size_t c = 0; c < columns.size(); ++c)
        out += (c ? "," : "") + columns[c];
    out += "\r\n";
    for (const int n : numbers) {
        const Json record = RecordJson(kind, n);
        for (std::size_t c = 0; c < columns.size(); ++c)
            out += (c ? "," : "") + (record.contains(columns[c]) ? csvCell(record[columns[c]]) : std::string());
        out += "\r\n";
    }
    return out;
}

bool EditValues(const Json& object, std::vector<std::pair<QString, QString>>& values, QString* error)
{
    for (const auto& [key, value] : object.items()) {
        QString text;
        if (value.is_string()) {
            text = QString::fromStdString(value.get<std::string>());
        } else if (value.is_boolean()) {
            text = value.get<bool>() ? QStringLiteral("1") : QStringLiteral("0");
        } else if (value.is_number_integer()) {
            text = QString::number(value.get<long long>());
        } else if (value.is_array()) {
            QStringList parts;
            for (const Json& part : value) {
                if (!part.is_string() && !part.is_number_integer()) {
                    *error = QStringLiteral("%1: a list of names or numbers is expected").arg(QString::fromStdString(key));
                    return false;
                }
                parts << (part.is_string() ? QString::fromStdString(part.get<std::string>())
                                           : QString::number(part.get<long long>()));
            }
            text = parts.join(QLatin1Char(','));
        } else {
            *error = QStringLiteral("%1: %2 is no value").arg(QString::fromStdString(key), QString::fromStdString(value.dump()));
            return false;
        }
        values.emplace_back(QString::fromStdString(key), text);
    }
    return true;
}

int RecordNumber(const Json& object)
{
    const auto it = object.find("number");
    return it != object.end() && it->is_number_integer() ? it->get<int>() : -1;
}

QString RecordKindOf(const Json& object)
{
    const auto it = object.find("kind");
    return it != object.end() && it->is_string() ? QString::fromStdString(it->get<std::string>()) : QString();
}

}  // namespace varkel::cli
