#include "shared/ini_file.h"

#include "shared/file_store.h"

#include <QFileInfo>
#include <QSaveFile>

#include <optional>
#include <vector>

namespace varkel {

namespace {

constexpr int kMaxValueLength = 127;  // the profile API's 128-character buffer, less its NUL
constexpr qint64 kMaxFileSize = 1024 * 1024;  // a settings file is a few lines

// One line as stored: its text and its line end ("\n", "\r\n" or none for a last
// line). Lines the program does not own are written back from these bytes, so
// text in another encoding survives.
struct RawLine {
    QByteArray text;
    QByteArray end;
};

struct IniLines {
    bool readable = true;  // false when the file exists but cannot be read whole
    std::vector<RawLine> lines;
    QByteArray newline = "\r\n";
};

IniLines readLines(const QString& path)
{
    IniLines ini;
    RuntimeError error;
    const auto bytes = FileStore::readFile(path, kMaxFileSize + 1, &error);
    if (!bytes || bytes->size() > kMaxFileSize) {
        ini.readable = !bytes && error.isFileNotFound() && !QFileInfo::exists(path);
        return ini;
    }
    if (!bytes->contains("\r\n") && bytes->contains('\n'))
        ini.newline = "\n";
    for (qsizetype at = 0; at < bytes->size();) {
        const qsizetype lf = bytes->indexOf('\n', at);
        const qsizetype next = lf < 0 ? bytes->size() : lf + 1;
        qsizetype textEnd = lf < 0 ? next : lf;
        if (lf > at && bytes->at(lf - 1) == '\r')
            --textEnd;
        ini.lines.push_back({bytes->mid(at, textEnd - at), bytes->mid(textEnd, next - textEnd)});
        at = next;
    }
    return ini;
}

QString textOf(const RawLine& line)
{
    return QString::fromLocal8Bit(line.text);
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
    for (const RawLine& raw : ini.lines) {
        const QString line = textOf(raw);
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
    // Written in the encoding of the file's other text: the local code page.
    const RawLine entry{(key + QLatin1Char('=') + value.left(kMaxValueLength)).toLocal8Bit(), ini.newline};

    qsizetype sectionStart = -1;
    qsizetype insertAt = -1;
    bool written = false;
    for (qsizetype i = 0; i < qsizetype(ini.lines.size()) && !written; ++i) {
        const QString line = textOf(ini.lines[i]);
        if (const auto name = sectionName(line)) {
            if (sectionStart >= 0)
                break;  // the end of our section
            if (name->compare(section, Qt::CaseInsensitive) == 0)
                sectionStart = insertAt = i + 1;
            continue;
        }
        if (sectionStart < 0)
            continue;
        if (isKeyLine(line, key)) {
            ini.lines[i].text = entry.text;
            written = true;
        } else if (!line.trimmed().isEmpty()) {
            insertAt = i + 1;
        }
    }
    if (!written) {
        if (sectionStart < 0) {
            insertAt = ini.lines.size();
            ini.lines.insert(ini.lines.end(), {{('[' + section + ']').toLocal8Bit(), ini.newline}, entry});
        } else {
            ini.lines.insert(ini.lines.begin() + insertAt, entry);
        }
        // A last line without its line end gets one before the lines that follow it.
        if (insertAt > 0 && ini.lines[insertAt - 1].end.isEmpty())
            ini.lines[insertAt - 1].end = ini.newline;
    }

    QByteArray bytes;
    for (const RawLine& line : ini.lines)
        bytes += line.text + line.end;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(bytes);
    return file.commit();
}

}  // namespace varkel
