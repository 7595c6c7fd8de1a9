#include "shared/recent_files.h"

#include "shared/ini_file.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace varkel {

namespace {

// The settings reader hands back at most 127 characters. A stored value stays one
// shorter, so a value read at the cap can only be one cut short and is dropped.
constexpr qsizetype kMaxStoredLength = 126;

QString keyOf(int index)
{
    return QStringLiteral("File%1").arg(index + 1);
}

// Whether `value` reads back from the settings file exactly as written: the reader
// trims spaces and caps the length, a line break would end the line, and the file
// is in the local code page. (An absolute path never starts with the quote the
// reader would strip.)
bool storable(const QString& value)
{
    if (value.isEmpty() || value.size() > kMaxStoredLength || value != value.trimmed())
        return false;
    if (value.contains(QLatin1Char('\n')) || value.contains(QLatin1Char('\r')) || value.contains(QChar(0)))
        return false;
    return QString::fromLocal8Bit(value.toLocal8Bit()) == value;
}

QStringList storedValues(const IniFile& settings)
{
    QStringList values;
    for (int i = 0; i < kMaxRecentFiles; ++i)
        values << settings.value(kRecentFilesSection, keyOf(i));
    return values;
}

QStringList recentFiles(const QStringList& stored)
{
    QStringList files;
    for (const QString& value : stored) {
        if (!storable(value))
            continue;  // empty, or possibly cut by the reader
        const QString path = QDir::fromNativeSeparators(value);
        if (std::none_of(files.cbegin(), files.cend(), [&](const QString& f) { return SameFilePath(f, path); }))
            files << path;
    }
    return files;
}

}  // namespace

QStringList ReadRecentFiles(const QString& settingsPath)
{
    const auto settings = IniFile::read(settingsPath);
    return settings ? recentFiles(storedValues(*settings)) : QStringList();
}

QStringList ExistingRecentFiles(const QString& settingsPath)
{
    QStringList files = ReadRecentFiles(settingsPath);
    files.removeIf([](const QString& path) { return !QFileInfo(path).isFile(); });
    return files;
}

std::optional<RuntimeError> AddRecentFile(const QString& settingsPath, const QString& path, FileIo& io)
{
    if (settingsPath.isEmpty() || path.isEmpty())
        return std::nullopt;  // no settings file, or nothing to list
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    if (!storable(QDir::toNativeSeparators(absolute)))
        return std::nullopt;

    RuntimeError error;
    auto settings = IniFile::read(settingsPath, &error, io);
    if (!settings)
        return error;
    const QStringList stored = storedValues(*settings);
    QStringList files = recentFiles(stored);
    files.removeIf([&](const QString& f) { return SameFilePath(f, absolute); });
    files.prepend(absolute);
    files = files.mid(0, kMaxRecentFiles);

    // Only the keys that change are set; a slot no longer used is emptied.
    bool changed = false;
    for (int i = 0; i < kMaxRecentFiles; ++i) {
        const QString value = i < files.size() ? QDir::toNativeSeparators(files[i]) : QString();
        if (value != stored[i]) {
            settings->setValue(kRecentFilesSection, keyOf(i), value);
            changed = true;
        }
    }
    return changed ? settings->write(io) : std::nullopt;
}

}  // namespace varkel
