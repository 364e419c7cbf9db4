// calculate --parts reads a hand-typed part list strictly: every problem is named with its line,
// nothing is calculated or written, and --lenient goes on as the window's import would.
#include "cli/CliSupport.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>

using lintaro::test::cli;
using lintaro::test::CliRun;
using lintaro::test::fastCalculation;
using lintaro::test::sample;

namespace {

struct BadLine {
    QByteArray line;
    QString problem; // after "FILE:LINE: "; several problems of one line are separated by "\n"
};

// Under the "." locale of C.UTF-8.
const BadLine kBadLines[] = {
    {"Caption;X;Y;Orientation;Count", "a header line is not a part: 'Caption;X;Y;Orientation;Count'"},
    {"Door;562,5;396;Y;2", "field 'X' is not a number: '562,5'"},
    {"Side;72O;560;Y;2", "field 'X' is not a number: '72O'"},
    {"Shelf,800,300,X,6", "line has 1 field, expected 5"},
    {"Rail;564;100;X", "line has 4 fields, expected 5"},
    {"Top;564;320;X;2;", "line has 6 fields, expected 5"},
    {"Back;-300;560;N;1", "field 'X' must be above 0: '-300'"},
    {"Filler;50;0;N;2", "field 'Y' must be above 0: '0'"},
    {"Plinth;1800;;X;2", "field 'Y' is empty"},
    {"Cornice;1800;60;X;0", "field 'Count' must be at least 1: '0'"},
    {"Strip;900;60;X;2.5", "field 'Count' is not a whole number: '2.5'"},
    {"Panel;300000;600;Y;1", "field 'X' is too large: '300000'"},
    {"Wing;600;400;Q;1", "field 'Orientation' must be X, Y or N: 'Q'"},
    {"Leg;7l0;abc;Y;-1", "field 'X' is not a number: '7l0'\nfield 'Y' is not a number: 'abc'\nfield 'Count' "
                         "must be at least 1: '-1'"},
};

const QByteArray kGoodLines[] = {"Base side;720;560;Y;6", "Base shelf;564;520;x;3", "Wall shelf;562.5;300;;",
                                 "Drawer;500;150;N;8"};

} // namespace

TEST(PartsCsv, EveryBadLineIsNamedAndNothingIsWritten) {
    QTemporaryDir dir;
    const QString csv = dir.filePath("wardrobe.csv");
    const QString out = dir.filePath("wardrobe.LNO");
    QByteArray text;
    QStringList expected;
    int line = 0;
    size_t good = 0;
    // The header first, where it is taken for one; good lines between the bad ones; an empty line too.
    for (const BadLine& bad : kBadLines) {
        text += bad.line + "\r\n";
        ++line;
        for (const QString& p : bad.problem.split('\n'))
            expected << QStringLiteral("%1:%2: %3").arg(csv).arg(line).arg(p);
        if (good < std::size(kGoodLines)) {
            text += kGoodLines[good++] + "\r\n";
            ++line;
        }
    }
    text += "\r\n";
    ASSERT_TRUE(lintaro::test::writeFileBytes(csv, text));
    const QStringList calculate = {"calculate", "--parts", csv, "--material", sample("Board18.LNM")};

    const CliRun strict = cli(calculate + QStringList{"--output", out} + fastCalculation());
    EXPECT_EQ(strict.code, 2);
    expected << QStringLiteral(
                    "lintaro-cli calculate: %1: %2 problems, nothing calculated (--lenient calculates "
                    "the lines that can be read)")
                    .arg(csv)
                    .arg(expected.size());
    EXPECT_EQ(strict.err, expected.join('\n') + '\n');
    EXPECT_TRUE(strict.out.isEmpty()) << strict.out.toStdString();
    EXPECT_FALSE(QFile::exists(out));
    EXPECT_FALSE(QFile::exists(dir.filePath("wardrobe-result.LNO")));

    // --lenient prints the same problems and calculates what the window's import keeps: every good
    // line is placed.
    const CliRun lenient = cli(calculate + QStringList{"--lenient", "--output", out} + fastCalculation());
    EXPECT_TRUE(lenient.err.startsWith(expected.mid(0, expected.size() - 1).join('\n') + '\n'))
        << lenient.err.toStdString();
    ASSERT_TRUE(QFile::exists(out)) << lenient.err.toStdString();
    QMap<QString, int> placed;
    for (const QJsonValue& row : lintaro::test::summaryJson(out)["sheets"].toArray())
        for (const QJsonValue& piece : row.toObject()["pieces"].toArray())
            placed[piece.toObject()["caption"].toString()] += row.toObject()["count"].toInt();
    EXPECT_EQ(placed.value("Base side"), 6);
    EXPECT_EQ(placed.value("Base shelf"), 3);
    EXPECT_EQ(placed.value("Wall shelf"), 1);
    EXPECT_EQ(placed.value("Drawer"), 8);
}

TEST(PartsCsv, ListsWithoutAValidPartAreRefused) {
    QTemporaryDir dir;
    const QString empty = dir.filePath("empty.csv");
    ASSERT_TRUE(lintaro::test::writeFileBytes(empty, "\r\n\r\n"));
    const QString headerOnly = dir.filePath("header.csv");
    ASSERT_TRUE(lintaro::test::writeFileBytes(headerOnly, "Name;Width;Length;Grain;Count\r\n"));
    for (const QString& csv : {empty, headerOnly}) {
        const CliRun r =
            cli(QStringList{"calculate", "--parts", csv, "--material", sample("Board18.LNM"), "--lenient"} +
                fastCalculation());
        EXPECT_EQ(r.code, 2);
        EXPECT_TRUE(r.err.endsWith("lintaro-cli calculate: " + csv + ": no valid parts\n"))
            << r.err.toStdString();
    }
    // An order whose part list holds no valid part.
    QByteArray order = lintaro::test::readFileBytes(sample("Kitchen.LNO"));
    const qsizetype from = order.indexOf("[Parts]");
    const qsizetype to = order.indexOf("\r\n[", from + 1);
    order.replace(from, to - from, "[Parts]\r\nCount=0");
    const QString noParts = dir.filePath("NoParts.LNO");
    ASSERT_TRUE(lintaro::test::writeFileBytes(noParts, order));
    const CliRun r = cli(QStringList{"calculate", noParts} + fastCalculation());
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.err, "lintaro-cli calculate: " + noParts + ": no valid parts\n");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 3);
}

TEST(PartsCsv, TheDecimalCommaIsRightUnderACommaLocale) {
    QTemporaryDir dir;
    const QString csv = dir.filePath("czech.csv");
    ASSERT_TRUE(lintaro::test::writeFileBytes(csv, "Door;562,5;396;Y;2\r\nShelf;562.5;300;X;1\r\n"));
    const CliRun r =
        cli(QStringList{"calculate", "--parts", csv, "--material", sample("Board18.LNM")} + fastCalculation(),
            QStringLiteral("cs_CZ.UTF-8"));
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.err.startsWith(csv + ":2: field 'X' is not a number: '562.5'\n")) << r.err.toStdString();
}
