#include "shared/ini_file.h"

#include <QFile>
#include <QSaveFile>
#include <QStringList>

#include <optional>

namespace varkel {

namespace {

constexpr int kMaxValueLength = 127;  // the profile API's 128-character buffer, less its NUL

struct IniLines {
    bool readable = true;  // false when the file exists but cannot be read
    QStringList lines;
    QString newline = QStringLiteral("\r\n");
};

IniLines readLines(const QString& path)
{
    IniLines ini;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ini.readable = !file.exists();
        return ini;
    }
    const QString text = QString::fromLocal8Bit(file.readAll());
    if (!text.contains(QLatin1String("\r\n")) && text.contains(QLatin1Char('\n')))
        ini.newline = QStringLiteral("\n");
    ini.lines = text.split(QLatin1Char('\n'));
    for (QString& line : ini.lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    if (!ini.lines.isEmpty() && ini.lines.last().isEmpty())
        ini.lines.removeLast();
    return ini;
}

std::optional<QString> sectionName(const QString& line)
{
    const QString t = line.trimmed();
    if (t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']')))
        return t.mid(1, t.size() - 2).trimmed();
    return std::nullopt;
}

bool isKeyLine(const QString& line, const QString& key)
{
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    return eq > 0 && line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0;
}

}  // namespace

QString ReadIniValue(const QString& path, const QString& section, const QString& key, const QString& defaultValue)
{
    const IniLines ini = readLines(path);
    bool inSection = false;
    for (const QString& line : ini.lines) {
        if (const auto name = sectionName(line)) {
            inSection = name->compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        if (inSection && isKeyLine(line, key)) {
            QString value = line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed();
            // The Windows reader drops one pair of surrounding quotes.
            if (value.size() >= 2 && (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\'')) &&
                value.back() == value.front())
                value = value.mid(1, value.size() - 2);
            return value.left(kMaxValueLength).trimmed();
        }
    }
    return defaultValue.left(kMaxValueLength).trimmed();
}

bool WriteIniValue(const QString& path, const QString& section, const QString& key, const QString& value)
{
    IniLines ini = readLines(path);
    if (!ini.readable)
        return false;  // writing would throw away the lines we could not read
    const QString entry = key + QLatin1Char('=') + value.left(kMaxValueLength);

    qsizetype sectionStart = -1;
    qsizetype insertAt = -1;
    bool written = false;
    for (qsizetype i = 0; i < ini.lines.size() && !written; ++i) {
        if (const auto name = sectionName(ini.lines[i])) {
            if (sectionStart >= 0)
                break;  // the end of our section
            if (name->compare(section, Qt::CaseInsensitive) == 0)
                sectionStart = insertAt = i + 1;
            continue;
        }
        if (sectionStart < 0)
            continue;
        if (isKeyLine(ini.lines[i], key)) {
            ini.lines[i] = entry;
            written = true;
        } else if (!ini.lines[i].trimmed().isEmpty()) {
            insertAt = i + 1;
        }
    }
    if (!written) {
        if (sectionStart < 0) {
            ini.lines << QLatin1Char('[') + section + QLatin1Char(']') << entry;
        } else {
            ini.lines.insert(insertAt, entry);
        }
    }

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(ini.lines.join(ini.newline).toLocal8Bit() + ini.newline.toLatin1());
    return file.commit();
}

}  // namespace varkel
