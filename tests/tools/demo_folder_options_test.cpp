#include "support/gtest_qt.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

// Options are answered, not taken for the folder to write: help and version are
// printed and nothing is made; an unknown option is refused; after "--" a name
// that starts with "-" is a folder like any other.
TEST(DemoFolderOptions, OptionsAreAnsweredAndOnlyAFolderIsWritten)
{
    struct Row {
        const char* what;
        QStringList arguments;
        int status;
        QString printed;  // on standard output
        QString written;  // the folder made, relative to the working folder; empty: none
    };
    const std::vector<Row> rows = {
        {"-h", {"-h"}, 0, "usage: varkel-demo-folder DIR", ""},
        {"--help", {"--help"}, 0, "usage: varkel-demo-folder DIR", ""},
        {"--version", {"--version"}, 0, "varkel-demo-folder " VARKEL_VERSION_STRING, ""},
        {"an unknown option", {"--fast", "game"}, 2, "", ""},
        {"no folder", {}, 2, "", ""},
        {"two folders", {"one", "two"}, 2, "", ""},
        {"a folder named like an option, after --", {"--", "-h"}, 0, "", "-h"},
        {"a folder", {"game"}, 0, "", "game"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QTemporaryDir work;
        QProcess process;
        process.setWorkingDirectory(work.path());
        process.start(QStringLiteral(VARKEL_DEMO_FOLDER), row.arguments);
        ASSERT_TRUE(process.waitForFinished(60'000));
        EXPECT_EQ(process.exitCode(), row.status);
        const QString out = QString::fromUtf8(process.readAllStandardOutput());
        EXPECT_TRUE(out.contains(row.printed)) << out.toStdString();
        const QStringList made = QDir(work.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        EXPECT_EQ(made, row.written.isEmpty() ? QStringList() : QStringList{row.written});
        if (!row.written.isEmpty()) {
            EXPECT_TRUE(QFileInfo(QDir(work.path()).filePath(row.written + QStringLiteral("/Svd_sys.sav"))).isFile());
        }
    }
}
