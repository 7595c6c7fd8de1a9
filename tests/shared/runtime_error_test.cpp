#include "shared/runtime_error.h"

#include "support/gtest_qt.h"

#include <gtest/gtest.h>

using namespace varkel;

// The windows show the number and a Chinese description with what failed; the
// platform's English reason is kept only for the log and the command line.
TEST(RuntimeErrorTest, WindowsReadChineseAndTheCommandLineEnglish)
{
    struct Row {
        RuntimeError error;
        QString shown;
        QString english;
    };
    const Row rows[] = {
        {RuntimeError::fileNotFound("/g/svd_01.sav"), QStringLiteral("53-找不到文件：/g/svd_01.sav"),
         "53-File not found: /g/svd_01.sav"},
        {RuntimeError::fileAccess("/g/svd_01.sav", "No space left on device"),
         QStringLiteral("75-路徑/文件訪問錯誤：/g/svd_01.sav"),
         "75-Path/File access error: /g/svd_01.sav (No space left on device)"},
        {RuntimeError::fileAccess("/g/d_sce.vk", QString()), QStringLiteral("75-路徑/文件訪問錯誤：/g/d_sce.vk"),
         "75-Path/File access error: /g/d_sce.vk"},
        {RuntimeError::outOfRange("face 300"), QStringLiteral("9-下標越界：face 300"),
         "9-Subscript out of range: face 300"},
        {RuntimeError{5, QString(), QString()}, QStringLiteral("5-執行階段錯誤"), "5-Run-time error"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.english.toStdString());
        EXPECT_EQ(row.error.message(), row.shown);
        EXPECT_EQ(row.error.englishMessage(), row.english);
    }
}
