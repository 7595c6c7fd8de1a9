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

#ifdef Q_OS_WIN
constexpr Qt::CaseSensitivity kPathCase = Qt::CaseInsensitive;
#else
constexpr Qt::CaseSensitivity kPathCase = Qt::CaseSensitive;
#endif

// The form two paths of the same file share: links resolved where the file
// exists, otherwise the cleaned absolute path.
QString comparable(const QString& path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

bool sameFile(const QString& a, const QString& b)
{
    return comparable(a).compare(comparable(b), kPathCase) == 0;
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

QStringList storedValues(const QString& settingsPath)
{
    QStringList values;
    for (int i = 0; i < kMaxRecentFiles; ++i)
        values << ReadIniValue(settingsPath, kRecentFilesSection, keyOf(i));
    return values;
}

}  // namespace

QStringList ReadRecentFiles(const QString& settingsPath)
{
    QStringList files;
    for (const QString& value : storedValues(settingsPath)) {
        if (!storable(value))
            continue;  // empty, or possibly cut by the reader
        const QString path = QDir::fromNativeSeparators(value);
        if (std::none_of(files.cbegin(), files.cend(), [&](const QString& f) { return sameFile(f, path); }))
            files << path;
    }
    return files;
}

QStringList ExistingRecentFiles(const QString& settingsPath)
{
    QStringList files = ReadRecentFiles(settingsPath);
    files.removeIf([](const QString& path) { return !QFileInfo(path).isFile(); });
    return files;
}

bool AddRecentFile(const QString& settingsPath, const QString& path)
{
    if (path.isEmpty())
        return false;
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    if (!storable(QDir::toNativeSeparators(absolute)))
        return false;

    QStringList files = ReadRecentFiles(settingsPath);
    files.removeIf([&](const QString& f) { return sameFile(f, absolute); });
    files.prepend(absolute);
    files = files.mid(0, kMaxRecentFiles);

    // Only the keys that change are written; a slot no longer used is emptied.
    const QStringList stored = storedValues(settingsPath);
    bool written = true;
    for (int i = 0; i < kMaxRecentFiles; ++i) {
        const QString value = i < files.size() ? QDir::toNativeSeparators(files[i]) : QString();
        if (value != stored[i])
            written = WriteIniValue(settingsPath, kRecentFilesSection, keyOf(i), value) && written;
    }
    return written;
}

}  // namespace varkel
