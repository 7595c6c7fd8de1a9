#include "cli_output.h"

namespace varkel::cli {

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
        } else if (value.is_number_float()) {
            text = QString::number(value.get<double>());  // a lifespan of 7.5
        } else if (value.is_array()) {
            QStringList parts;
            for (const Json& part : value) {
                if (!part.is_string() && !part.is_number_integer()) {
                    *error =
                        QStringLiteral("%1: a list of names or numbers is expected").arg(QString::fromStdString(key));
                    return false;
                }
                parts << (part.is_string() ? QString::fromStdString(part.get<std::string>())
                                           : QString::number(part.get<long long>()));
            }
            text = parts.join(QLatin1Char(','));
        } else {
            *error = QStringLiteral("%1: %2 is no value")
                         .arg(QString::fromStdString(key), QString::fromStdString(value.dump()));
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
