// The plan as other programs get it: summary --json and export-cutlist describe every placed piece
// well enough to check the plan without the order file, and draw gives one PDF page per sheet.
#include "cli/CliSupport.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

using lintaro::test::cli;
using lintaro::test::CliRun;
using lintaro::test::fastCalculation;
using lintaro::test::sample;

namespace {

struct Box {
    double x, y, w, l;
};

// A size as the cut list writes it: up to four decimals, no trailing zeros.
QString num(const QJsonValue& v) {
    QString t = QString::number(v.toDouble(), 'f', 4);
    while (t.endsWith('0'))
        t.chop(1);
    if (t.endsWith('.'))
        t.chop(1);
    return t;
}

bool overlap(const Box& a, const Box& b) {
    return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.l && b.y < a.y + a.l;
}

class PlanJson : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new QTemporaryDir;
        order_ = dir_->filePath("kitchen.LNO");
        const CliRun r =
            cli(QStringList{"calculate", sample("Kitchen.LNO"), "--output", order_} + fastCalculation());
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
    }
    static void TearDownTestSuite() { delete dir_; }

    static QTemporaryDir* dir_;
    static QString order_;
};
QTemporaryDir* PlanJson::dir_ = nullptr;
QString PlanJson::order_;

} // namespace

TEST_F(PlanJson, EveryPieceLiesInsideItsSheetAndNoTwoOverlap) {
    const QJsonObject o = lintaro::test::summaryJson(order_);
    ASSERT_EQ(o["lengthUnit"].toString(), "mm");
    ASSERT_EQ(o["areaUnit"].toString(), "m2");
    double area = 0;
    int pieces = 0;
    int sheets = 0;
    for (const QJsonValue& s : o["sheets"].toArray()) {
        const QJsonObject sheet = s.toObject();
        const int count = sheet["count"].toInt();
        ASSERT_GE(count, 1);
        sheets += count;
        QList<Box> boxes;
        for (const QJsonValue& p : sheet["pieces"].toArray()) {
            const QJsonObject piece = p.toObject();
            EXPECT_FALSE(piece["caption"].toString().isEmpty());
            EXPECT_GT(piece["part"].toInt(), 0);
            const Box b{piece["x"].toDouble(), piece["y"].toDouble(), piece["width"].toDouble(),
                        piece["length"].toDouble()};
            EXPECT_GE(b.x, 0);
            EXPECT_GE(b.y, 0);
            EXPECT_LE(b.x + b.w, sheet["x"].toDouble()) << piece["caption"].toString().toStdString();
            EXPECT_LE(b.y + b.l, sheet["y"].toDouble()) << piece["caption"].toString().toStdString();
            for (const Box& other : boxes)
                EXPECT_FALSE(overlap(b, other)) << piece["caption"].toString().toStdString();
            boxes << b;
            area += count * b.w * b.l / 1e6;
            pieces += count;
        }
        // Reusable rests take no room of a piece either.
        for (const QJsonValue& r : sheet["rests"].toArray()) {
            const QJsonObject rest = r.toObject();
            const Box b{rest["x"].toDouble(), rest["y"].toDouble(), rest["width"].toDouble(),
                        rest["length"].toDouble()};
            for (const Box& piece : boxes)
                EXPECT_FALSE(overlap(b, piece));
        }
    }
    EXPECT_EQ(pieces, o["partsCount"].toInt());
    EXPECT_EQ(pieces, o["piecesPlaced"].toInt());
    EXPECT_EQ(sheets, o["sheetCount"].toInt());
    EXPECT_NEAR(area, o["partsArea"].toDouble(), 0.001);
    EXPECT_NEAR(o["areaUsed"].toDouble(), o["partsArea"].toDouble(), 0.001);
    EXPECT_NEAR(o["sheetArea"].toDouble(),
                o["areaUsed"].toDouble() + o["restArea"].toDouble() + o["areaWasted"].toDouble(), 0.001);
    int stockSheets = 0;
    for (const QJsonValue& u : o["stock"].toArray())
        stockSheets += u.toObject()["sheets"].toInt();
    EXPECT_EQ(stockSheets, sheets);
}

TEST_F(PlanJson, TheCutListHasTheRowsOfTheJson) {
    const QString csv = dir_->filePath("cuts.csv");
    const QString json = dir_->filePath("cuts.json");
    ASSERT_EQ(cli({"export-cutlist", order_, csv}).code, 0);
    ASSERT_EQ(cli({"export-cutlist", order_, json, "--json"}).code, 0);
    const QStringList lines =
        QString::fromUtf8(lintaro::test::readFileBytes(csv)).split("\r\n", Qt::SkipEmptyParts);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.first(), "Sheet;Count;Part;Caption;X (mm);Y (mm);Width (mm);Length (mm);Turned");
    const QJsonArray rows = QJsonDocument::fromJson(lintaro::test::readFileBytes(json)).array();

    QStringList fromSummary;
    for (const QJsonValue& s : lintaro::test::summaryJson(order_)["sheets"].toArray()) {
        const QJsonObject sheet = s.toObject();
        for (const QJsonValue& p : sheet["pieces"].toArray()) {
            const QJsonObject piece = p.toObject();
            fromSummary << QStringLiteral("%1;%2;%3;%4;%5;%6;%7;%8;%9")
                               .arg(sheet["index"].toInt())
                               .arg(sheet["count"].toInt())
                               .arg(piece["part"].toInt())
                               .arg(piece["caption"].toString())
                               .arg(num(piece["x"]))
                               .arg(num(piece["y"]))
                               .arg(num(piece["width"]))
                               .arg(num(piece["length"]))
                               .arg(piece["turned"].toBool() ? "yes" : "no");
        }
    }
    QStringList fromJson;
    for (const QJsonValue& r : rows) {
        const QJsonObject row = r.toObject();
        fromJson << QStringLiteral("%1;%2;%3;%4;%5;%6;%7;%8;%9")
                        .arg(row["sheet"].toInt())
                        .arg(row["count"].toInt())
                        .arg(row["part"].toInt())
                        .arg(row["caption"].toString())
                        .arg(num(row["x"]))
                        .arg(num(row["y"]))
                        .arg(num(row["width"]))
                        .arg(num(row["length"]))
                        .arg(row["turned"].toBool() ? "yes" : "no");
    }
    EXPECT_EQ(lines.mid(1), fromSummary);
    EXPECT_EQ(fromJson, fromSummary);
}

TEST_F(PlanJson, DrawAllToPdfGivesOneA4PagePerSheet) {
    const QString pdf = dir_->filePath("kitchen.pdf");
    const CliRun r = cli({"draw", order_, "--all", "--captions", pdf});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, pdf + '\n');
    QProcess info;
    info.start("pdfinfo", {pdf});
    ASSERT_TRUE(info.waitForFinished(60000)) << "pdfinfo (poppler-utils) is needed";
    const QString text = QString::fromUtf8(info.readAllStandardOutput());
    const int sheets = lintaro::test::summaryJson(order_)["sheets"].toArray().size();
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("Pages:\\s+%1\n").arg(sheets))))
        << text.toStdString();
    // A4 landscape: 842 x 595 points.
    EXPECT_TRUE(
        text.contains(QRegularExpression("Page size:\\s+84[12](\\.\\d+)? x 595(\\.\\d+)? pts \\(A4\\)")))
        << text.toStdString();

    const QString one = dir_->filePath("one.pdf");
    ASSERT_EQ(cli({"draw", order_, "--sheet", "2", "--zoom", "600", one}).code, 0);
    info.start("pdfinfo", {one});
    info.waitForFinished(60000);
    EXPECT_TRUE(
        QString::fromUtf8(info.readAllStandardOutput()).contains(QRegularExpression("Pages:\\s+1\n")));
}

TEST_F(PlanJson, TheCutSequenceGoesInSawOrderAndFreesThePiecesOfItsSheet) {
    const QString csv = dir_->filePath("sequence.csv");
    const QString json = dir_->filePath("sequence.json");
    ASSERT_EQ(cli({"export-cutlist", order_, csv, "--cuts"}).code, 0);
    ASSERT_EQ(cli({"export-cutlist", order_, json, "--cuts", "--json"}).code, 0);
    QStringList lines =
        QString::fromUtf8(lintaro::test::readFileBytes(csv)).split("\r\n", Qt::SkipEmptyParts);
    ASSERT_GT(lines.size(), 1);
    EXPECT_EQ(lines.takeFirst(), "Sheet;Count;Cut;Stage;Line along;Fence (mm);Length (mm);Frees;Part;Freed X "
                                 "(mm);Freed Y (mm)");
    EXPECT_EQ(QJsonDocument::fromJson(lintaro::test::readFileBytes(json)).array().size(), lines.size());

    // Sizes of the pieces of each part on each sheet, from the summary.
    QMap<int, QSet<QString>> pieces;
    for (const QJsonValue& s : lintaro::test::summaryJson(order_)["sheets"].toArray())
        for (const QJsonValue& p : s.toObject()["pieces"].toArray()) {
            const QJsonObject piece = p.toObject();
            pieces[s.toObject()["index"].toInt()] << QStringLiteral("%1 %2x%3")
                                                         .arg(piece["part"].toInt())
                                                         .arg(num(piece["width"]), num(piece["length"]));
        }
    int sheet = 0, expected = 0, stage = 0, freedParts = 0;
    for (const QString& line : lines) {
        const QStringList f = line.split(';');
        ASSERT_EQ(f.size(), 11) << line.toStdString();
        if (f[0].toInt() != sheet) {
            sheet = f[0].toInt();
            expected = 1;
            stage = 1;
        }
        EXPECT_EQ(f[2].toInt(), expected++) << line.toStdString(); // numbered in saw order
        EXPECT_GE(f[3].toInt(), stage) << line.toStdString();      // no stage before the one above it
        stage = f[3].toInt();
        EXPECT_TRUE(f[4] == "X" || f[4] == "Y") << line.toStdString();
        if (f[7] == "part") {
            ++freedParts;
            EXPECT_TRUE(pieces[sheet].contains(f[8] + ' ' + f[9] + 'x' + f[10])) << line.toStdString();
        }
    }
    EXPECT_GT(freedParts, 0);
}
