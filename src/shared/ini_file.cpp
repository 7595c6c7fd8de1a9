#include "shared/ini_file.h"


#include <QFileInfo>

#include <optional>
#include <vector>

namespace varkel {

namespace {

constexpr int kMaxValueLength = 127;  // the profile API's 128-character buffer, less its NUL
constexpr qint64 kMaxFileSize = 1024 * 1024;  // a settings file is a few lines

QString textOf(const QByteArray& line)
{
    return QString::fromLocal8Bit(line);
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

std::optional<IniFile> IniFile::read(const QString& path, RuntimeError* error, FileIo& io)
{
    IniFile ini;
    ini.path_ = path;
    RuntimeError failure;
    const auto bytes = ReadRegularFile(path, kMaxFileSize + 1, &failure, io);
    if (!bytes) {
        if (failure.isFileNotFound()) {
            if (!QFileInfo::exists(path))
                return ini;
            // A folder or a pipe under the settings file's name: there, but no file to read.
            failure = RuntimeError::fileAccess(path, QStringLiteral("not a regular file"));
        }
        if (error)
            *error = failure;
        return std::nullopt;
    }
    if (bytes->size() > kMaxFileSize) {
        if (error)
            *error = RuntimeError::fileAccess(path, QStringLiteral("larger than %1 bytes").arg(kMaxFileSize));
        return std::nullopt;
    }
    if (!bytes->contains("\r\n") && bytes->contains('\n'))
        ini.newline_ = "\n";
    for (qsizetype at = 0; at < bytes->size();) {
        const qsizetype lf = bytes->indexOf('\n', at);
        const qsizetype next = lf < 0 ? bytes->size() : lf + 1;
        qsizetype textEnd = lf < 0 ? next : lf;
        if (lf > at && bytes->at(lf - 1) == '\r')
            --textEnd;
        ini.lines_.push_back({bytes->mid(at, textEnd - at), bytes->mid(textEnd, next - textEnd)});
        at = next;
    }
    return ini;
}

QString IniFile::value(const QString& section, const QString& key, const QString& defaultValue) const
{
    bool inSection = false;
    for (const Line& raw : lines_) {
        const QString line = textOf(raw.text);
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

void IniFile::setValue(const QString& section, const QString& key, const QString& value)
{
    // Written in the encoding of the file's other text: the local code page.
    const Line entry{(key + QLatin1Char('=') + value.left(kMaxValueLength)).toLocal8Bit(), newline_};

    qsizetype sectionStart = -1;
    qsizetype insertAt = -1;
    for (qsizetype i = 0; i < qsizetype(lines_.size()); ++i) {
        const QString line = textOf(lines_[i].text);
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
            lines_[i].text = entry.text;
            return;
        }
        if (!line.trimmed().isEmpty())
            insertAt = i + 1;
    }
    if (sectionStart < 0) {
        insertAt = lines_.size();
        lines_.insert(lines_.end(), {{(QLatin1Char('[') + section + QLatin1Char(']')).toLocal8Bit(), newline_}, entry});
    } else {
        lines_.insert(lines_.begin() + insertAt, entry);
    }
    // A last line without its line end gets one before the lines that follow it.
    if (insertAt > 0 && lines_[insertAt - 1].end.isEmpty())
        lines_[insertAt - 1].end = newline_;
}

std::optional<RuntimeError> IniFile::write(FileIo& io) const
{
    QByteArray bytes;
    for (const Line& line : lines_)
        bytes += line.text + line.end;
    return WriteRegularFile(path_, bytes, io);
}

QString ReadIniValue(const QString& path, const QString& section, const QString& key, const QString& defaultValue)
{
    const auto ini = IniFile::read(path);
    return ini ? ini->value(section, key, defaultValue) : IniFile().value(section, key, defaultValue);
}

std::optional<RuntimeError> WriteIniValue(const QString& path, const QString& section, const QString& key,
                                          const QString& value, FileIo& io)
{
    RuntimeError error;
    auto ini = IniFile::read(path, &error, io);
    if (!ini)
        return error;  // writing would throw away the lines we could not read
    ini->setValue(section, key, value);
    return ini->write(io);
}

}  // namespace varkel
