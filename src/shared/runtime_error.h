#pragma once

#include <QString>

namespace varkel {

// A failure reported the way the program reports run-time errors: a number and a
// description, shown as "number-description". The description is the number's
// Chinese text and what failed (a path); the platform's own reason (Qt's or the C
// library's English text) is kept apart in `detail`, for the log and the command
// line, since the user of the windows does not read it.
struct RuntimeError {
    static constexpr int kSubscriptOutOfRange = 9;
    static constexpr int kFileNotFound = 53;
    static constexpr int kFileAccess = 75;

    int number = 0;
    QString subject;  // the file, or what was out of range
    QString detail;   // why, in English; may be empty

    bool isFileNotFound() const { return number == kFileNotFound; }

    // What a window shows: "75-路徑/文件訪問錯誤：<path>".
    QString message() const { return QString::number(number) + QLatin1Char('-') + description(); }
    QString description() const
    {
        const QString text = QString::fromUtf8(textOf(number).chinese);
        return subject.isEmpty() ? text : text + QStringLiteral("：") + subject;
    }
    // The same in English with the platform's reason, for the log and the command
    // line: "75-Path/File access error: <path> (No space left on device)".
    QString englishMessage() const
    {
        QString text = QString::number(number) + QLatin1Char('-') + QLatin1String(textOf(number).english);
        if (!subject.isEmpty())
            text += QStringLiteral(": ") + subject;
        if (!detail.isEmpty())
            text += QStringLiteral(" (") + detail + QLatin1Char(')');
        return text;
    }

    static RuntimeError fileNotFound(const QString& path) { return {kFileNotFound, path, QString()}; }
    static RuntimeError fileAccess(const QString& path, const QString& why) { return {kFileAccess, path, why}; }
    static RuntimeError outOfRange(const QString& what) { return {kSubscriptOutOfRange, what, QString()}; }

private:
    struct Text {
        const char* chinese;
        const char* english;
    };
    // The numbers the program raises, with the words the platform used for them.
    static Text textOf(int number)
    {
        switch (number) {
        case kSubscriptOutOfRange:
            return {"下標越界", "Subscript out of range"};
        case kFileNotFound:
            return {"找不到文件", "File not found"};
        case kFileAccess:
            return {"路徑/文件訪問錯誤", "Path/File access error"};
        default:
            return {"執行階段錯誤", "Run-time error"};
        }
    }
};

inline const QString kErrorTitle = QStringLiteral("Varkel-Error");
inline const QString kEditorTitle = QStringLiteral("Varkel-Editor");

}  // namespace varkel
