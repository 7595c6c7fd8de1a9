#include "shared/ini_file.h"

#include <QFile>
#include <QTemporaryDir>

#include "support/file_bytes.h"
#include "support/gtest_qt.h"

#include <gtest/gtest.h>

using namespace varkel;

namespace {

class IniFileTest : public ::testing::Test {
protected:
    void write(const QByteArray& bytes) { ASSERT_TRUE(test::WriteFileBytes(path, bytes)); }
    QByteArray contents() const { return test::FileBytes(path); }

    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("VarkelEditor.ini"));
};

}  // namespace

TEST_F(IniFileTest, MissingFileGivesTheDefault)
{
    EXPECT_EQ(ReadIniValue(path, "Varkel", "InstallDir", "C:\\Varkel\\"), QStringLiteral("C:\\Varkel\\"));
    EXPECT_EQ(ReadIniValue(path, "Varkel", "InstallDir"), QString());
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(IniFileTest, MissingSectionOrKeyGivesTheDefault)
{
    write("[Other]\r\nInstallDir=D:\\x\\\r\n[Varkel]\r\nElse=1\r\n");
    EXPECT_EQ(ReadIniValue(path, "Varkel", "InstallDir", "dflt"), QStringLiteral("dflt"));
}

TEST_F(IniFileTest, BackslashesRoundTripUnescaped)
{
    ASSERT_EQ(WriteIniValue(path, "Varkel", "InstallDir", "C:\\Varkel\\"), std::nullopt);
    EXPECT_EQ(contents(), QByteArray("[Varkel]\r\nInstallDir=C:\\Varkel\\\r\n"));
    EXPECT_EQ(ReadIniValue(path, "Varkel", "InstallDir"), QStringLiteral("C:\\Varkel\\"));
}

TEST_F(IniFileTest, ReadsCrlfAndLfFiles)
{
    write("[Varkel]\r\nInstallDir=D:\\Games\\Varkel\\\r\n");
    EXPECT_EQ(ReadIniValue(path, "Varkel", "InstallDir"), QStringLiteral("D:\\Games\\Varkel\\"));
    write("[Varkel]\nInstallDir=/opt/varkel/\n");
    EXPECT_EQ(ReadIniValue(path, "Varkel", "InstallDir"), QStringLiteral("/opt/varkel/"));
}

TEST_F(IniFileTest, TrimsValuesAndIgnoresCaseOfNames)
{
    write("[ varkel ]\r\n  installdir =   D:\\Varkel\\   \r\n");
    EXPECT_EQ(ReadIniValue(path, "Varkel", "InstallDir"), QStringLiteral("D:\\Varkel\\"));
}

TEST_F(IniFileTest, ValuesAreCutTo127Characters)
{
    const QString longValue(200, QLatin1Char('x'));
    ASSERT_EQ(WriteIniValue(path, "Varkel", "InstallDir", longValue), std::nullopt);
    EXPECT_EQ(ReadIniValue(path, "Varkel", "InstallDir"), longValue.left(127));
}

TEST_F(IniFileTest, ReplacesTheKeyInPlaceKeepingEverythingElse)
{
    write("; settings\r\n[Other]\r\nInstallDir=keep\r\n[VARKEL]\r\nBefore=1\r\nINSTALLDIR=old\r\nAfter=2\r\n"
          "\r\n[Last]\r\nx=y\r\n");
    ASSERT_EQ(WriteIniValue(path, "Varkel", "InstallDir", "E:\\V\\"), std::nullopt);
    EXPECT_EQ(contents(), QByteArray("; settings\r\n[Other]\r\nInstallDir=keep\r\n[VARKEL]\r\nBefore=1\r\n"
                                     "InstallDir=E:\\V\\\r\nAfter=2\r\n\r\n[Last]\r\nx=y\r\n"));
    EXPECT_EQ(ReadIniValue(path, "Other", "InstallDir"), QStringLiteral("keep"));
}

TEST_F(IniFileTest, AddsAMissingKeyToItsSection)
{
    write("[Varkel]\r\nOther=1\r\n\r\n[Next]\r\nInstallDir=no\r\n");
    ASSERT_EQ(WriteIniValue(path, "Varkel", "InstallDir", "F:\\"), std::nullopt);
    EXPECT_EQ(contents(), QByteArray("[Varkel]\r\nOther=1\r\nInstallDir=F:\\\r\n\r\n[Next]\r\nInstallDir=no\r\n"));
}

TEST_F(IniFileTest, CreatesAMissingSectionAtTheEnd)
{
    write("[Other]\nk=v\n");
    ASSERT_EQ(WriteIniValue(path, "Varkel", "InstallDir", "/games/varkel/"), std::nullopt);
    EXPECT_EQ(contents(), QByteArray("[Other]\nk=v\n[Varkel]\nInstallDir=/games/varkel/\n"));
    EXPECT_EQ(ReadIniValue(path, "Other", "k"), QStringLiteral("v"));
}

TEST_F(IniFileTest, KeepsNonAsciiValues)
{
    ASSERT_EQ(WriteIniValue(path, "Varkel", "InstallDir", QStringLiteral("/遊戲/Varkel/")), std::nullopt);
    EXPECT_EQ(ReadIniValue(path, "Varkel", "InstallDir"), QStringLiteral("/遊戲/Varkel/"));
}

TEST_F(IniFileTest, ReportsAFileThatCannotBeWritten)
{
    const QString unwritable = dir.filePath("missing-folder/VarkelEditor.ini");
    const auto failure = WriteIniValue(unwritable, "Varkel", "InstallDir", "x");
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->number, RuntimeError::kFileAccess);
    EXPECT_EQ(failure->subject, unwritable);
}

TEST_F(IniFileTest, OnePairOfSurroundingQuotesIsNotPartOfTheValue)
{
    write("[Varkel]\r\nInstallDir= \"D:\\Varkel\\\" \r\nOther='x'\r\nHalf=\"a\r\n");
    EXPECT_EQ(ReadIniValue(path, "Varkel", "InstallDir"), QStringLiteral("D:\\Varkel\\"));
    EXPECT_EQ(ReadIniValue(path, "Varkel", "Other"), QStringLiteral("x"));
    EXPECT_EQ(ReadIniValue(path, "Varkel", "Half"), QStringLiteral("\"a"));
}

// Lines the program does not own come back byte for byte, whatever their encoding
// and even without a line end; the value is written as the file's other text.
TEST_F(IniFileTest, LinesItDoesNotOwnAreKeptByteForByte)
{
    const QByteArray big5Comment = "; \xB9\x43\xC0\xB8\xB3\x5D\xA9\x77\r\n";  // a Big5 comment
    struct Row {
        QByteArray before;
        QByteArray after;
    };
    // The value in the system's 8-bit code page: UTF-8 here, code page 950 on a Chinese Windows.
    const QByteArray value = "InstallDir=" + QStringLiteral("/遊/").toLocal8Bit();
    const Row rows[] = {
        {big5Comment + "[Varkel]\r\nInstallDir=old\r\n" + big5Comment,
         big5Comment + "[Varkel]\r\n" + value + "\r\n" + big5Comment},
        {big5Comment + "[_\r\r", big5Comment + "[_\r\r\r\n[Varkel]\r\n" + value + "\r\n"},
        {"[Varkel]\nx=\xA4\x40", "[Varkel]\nx=\xA4\x40\n" + value + "\n"},
    };
    for (const Row& row : rows) {
        write(row.before);
        ASSERT_EQ(WriteIniValue(path, "Varkel", "InstallDir", QStringLiteral("/遊/")), std::nullopt);
        EXPECT_EQ(contents(), row.after);
        EXPECT_EQ(ReadIniValue(path, "Varkel", "InstallDir"), QStringLiteral("/遊/"));
    }
}
