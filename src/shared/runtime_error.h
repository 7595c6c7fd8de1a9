#pragma once

#include <QString>

namespace varkel {

// A failure reported the way the program reports run-time errors: a number and a
// description, shown as "number-description".
struct RuntimeError {
    static constexpr int kFileNotFound = 53;
    static constexpr int kFileAccess = 75;

    int number = 0;
    QString description;

    bool isFileNotFound() const { return number == kFileNotFound; }

    QString message() const { return QString::number(number) + QLatin1Char('-') + description; }

    static RuntimeError fileNotFound(const QString& path)
    {
        return {kFileNotFound, QStringLiteral("File not found: %1").arg(path)};
    }
    static RuntimeError fileAccess(const QString& path, const QString& why)
    {
        return {kFileAccess, QStringLiteral("Path/File access error: %1 (%2)").arg(path, why)};
    }
    static RuntimeError outOfRange(const QString& what)
    {
        return {9, QStringLiteral("Subscript out of range: %1").arg(what)};
    }
};

inline const QString kErrorTitle = QStringLiteral("Varkel-Error");
inline const QString kEditorTitle = QStringLiteral("Varkel-Editor");

}  // namespace varkel
