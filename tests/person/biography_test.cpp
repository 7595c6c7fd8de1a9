#include "person/biography.h"
#include "support/gtest_qt.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

using namespace varkel;

namespace {

// The record lies between bytes of its neighbours, which no write may touch.
constexpr qsizetype kBefore = 10;
constexpr qsizetype kAfter = 10;
constexpr char kNeighbour = '\xEE';

const QString kZhang = QStringLiteral("張");  // B1 69
const QString kFei = QStringLiteral("飛");    // AD B8

// n characters alternating 張 and 飛.
QString characters(int n)
{
    QString text;
    for (int i = 0; i < n; ++i)
        text += i % 2 == 0 ? kZhang : kFei;
    return text;
}

QByteArray codes(int n)
{
    QByteArray bytes;
    for (int i = 0; i < n; ++i)
        bytes += i % 2 == 0 ? QByteArray("\xB1\x69") : QByteArray("\xAD\xB8");
    return bytes;
}

// n characters as written: a break before the 19th, 37th, 55th and 73rd.
QByteArray written(int n)
{
    QByteArray bytes;
    for (int i = 0; i < n; i += 18) {
        if (i > 0)
            bytes += '\n';
        const QByteArray line = codes(std::min(n, i + 18));
        bytes += line.mid(2 * i);
    }
    return bytes;
}

QByteArray record(const QByteArray& start)
{
    QByteArray r = start.left(biography::kRecordSize);
    r.append(biography::kRecordSize - r.size(), '\0');
    return r;
}

QByteArray between(const QByteArray& rec)
{
    return QByteArray(kBefore, kNeighbour) + rec + QByteArray(kAfter, kNeighbour);
}

}  // namespace

TEST(Biography, WritingBreaksLinesAfterEvery18Characters)
{
    struct Row {
        const char* what;
        QByteArray stored;  // the record before
        QString text;
        std::optional<BiographyProblem> problem;
        QByteArray want;  // the record after
    };
    const QByteArray full = written(74);
    const std::vector<Row> rows = {
        {"18 characters: no break", {}, characters(18), std::nullopt, record(codes(18))},
        {"19 characters: a break before the 19th",
         {},
         characters(19),
         std::nullopt,
         record(codes(18) + '\n' + codes(19).mid(36))},
        {"74 characters fill the record", {}, characters(74), std::nullopt, full},
        {"breaks typed are dropped and made anew",
         {},
         characters(5) + "\n" + characters(20).mid(5),
         std::nullopt,
         record(written(20))},
        {"an empty text zeroes the record", full, QString(), std::nullopt, record({})},
        {"single-byte letters are refused", full, QStringLiteral("ab"), BiographyProblem::SingleByteCharacter, full},
        {"a carriage return is a single-byte character",
         {},
         characters(3) + "\r\n" + characters(2),
         BiographyProblem::SingleByteCharacter,
         record({})},
        {"75 characters need 154 bytes: refused", full.left(40), characters(75), BiographyProblem::TooLong,
         record(full.left(40))},
    };
    ASSERT_EQ(full.size(), 152);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QByteArray buffer = between(record(row.stored));
        EXPECT_EQ(EncodeBiography(buffer, kBefore, row.text), row.problem);
        EXPECT_EQ(buffer, between(row.want));
        if (!row.problem) {
            EXPECT_EQ(DecodeBiography(buffer, kBefore).remove('\n'), QString(row.text).remove('\n'));
        }
    }
}

TEST(Biography, ReadingStopsAtAZeroOrWhereNoPairFits)
{
    struct Row {
        const char* what;
        QByteArray stored;
        QString want;
    };
    // 75 characters at 1..150 after a leading break: the last byte is never read.
    const QByteArray breakFirst = QByteArray("\n") + codes(75) + QByteArray("\xB1");
    const std::vector<Row> rows = {
        {"empty", record({}), QString()},
        {"ends at the first zero", record(codes(3) + QByteArray(1, '\0') + codes(4)), characters(3)},
        {"74 characters and 4 breaks without a zero", written(74),
         characters(18) + '\n' + characters(36).mid(18) + '\n' + characters(54).mid(36) + '\n' +
             characters(72).mid(54) + '\n' + characters(74).mid(72)},
        {"76 characters without a zero", codes(76), characters(76)},
        {"a break at offset 150 ends the reading after it", codes(75) + QByteArray("\n\xB1"), characters(75) + '\n'},
        {"a lead byte at offset 151 is not read", breakFirst, QStringLiteral("\n") + characters(75)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ASSERT_EQ(row.stored.size(), biography::kRecordSize);
        EXPECT_EQ(DecodeBiography(between(row.stored), kBefore), row.want);
    }
}

TEST(Biography, AnUnchangedTextKeepsTheStoredBytes)
{
    struct Row {
        const char* what;
        QByteArray stored;
    };
    const std::vector<Row> rows = {
        {"76 characters without a zero", codes(76)},
        {"breaks at other places", record(codes(3) + '\n' + codes(30))},
        {"bytes after the ending zero", record(codes(2) + QByteArray(1, '\0') + "\x41\x42")},
        {"single-byte letters already stored", record(QByteArray("ab\xB1\x69"))},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QByteArray buffer = between(row.stored);
        const QString text = DecodeBiography(buffer, kBefore);
        EXPECT_EQ(EncodeBiography(buffer, kBefore, text), std::nullopt);
        EXPECT_EQ(EncodeBiography(buffer, kBefore, QString(text).remove('\n')), std::nullopt);
        EXPECT_EQ(buffer, between(row.stored));
    }
}

TEST(Biography, ARecordOutsideTheBufferIsNeitherReadPastNorWritten)
{
    struct Row {
        qsizetype size;
        qsizetype start;
    };
    const std::vector<Row> rows = {{151, 0}, {200, 49}, {10, 0}, {160, -1}};
    for (const Row& row : rows) {
        QByteArray buffer(row.size, '\xB1');
        const QByteArray before = buffer;
        EXPECT_EQ(EncodeBiography(buffer, row.start, characters(2)), BiographyProblem::OutsideBuffer);
        EXPECT_EQ(buffer, before);
        EXPECT_LE(DecodeBiography(buffer, row.start).size(), (row.size + 1) / 2);
    }
}

TEST(Biography, ProblemsSayWhy)
{
    EXPECT_EQ(BiographyProblemText(BiographyProblem::TooLong), QStringLiteral("最多74個字。"));
    EXPECT_EQ(BiographyProblemText(BiographyProblem::SingleByteCharacter), QStringLiteral("只能是雙字節的中文字。"));
    EXPECT_FALSE(BiographyProblemText(BiographyProblem::OutsideBuffer).isEmpty());
}
