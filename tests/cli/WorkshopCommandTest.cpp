// lintaro-cli workshop on the samples: the PDF's text holds every placed piece's number and size,
// identical plans once with their count, labels whose barcodes read back, and the batch tool's
// refusals.
#include "cli/CliSupport.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>

using lintaro::test::cli;
using lintaro::test::CliRun;
using lintaro::test::fastCalculation;
using lintaro::test::sample;

namespace {

QString run(const QString& program, const QStringList& args) {
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(120000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString number(double value) {
    return QString::number(value, 'g', 10);
}

class WorkshopCommand : public ::testing::Test {
protected:
    void SetUp() override {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
        ASSERT_TRUE(dir.isValid());
    }
    QString calculated(const QString& name) {
        const QString out = dir.filePath(name + QStringLiteral("-result.LNO"));
        if (!QFileInfo::exists(out)) {
            const CliRun r =
                cli(QStringList{"calculate", sample(name + ".LNO"), "--output", out} + fastCalculation());
            EXPECT_EQ(r.code, 0) << r.err.toStdString();
        }
        return out;
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(WorkshopCommand, ThePackHoldsEveryPieceAndEachPlanOnceWithItsCount) {
    for (const QString name : {"Kitchen", "ShopFitting"}) {
        const QString order = calculated(name);
        const QString pdf = dir.filePath(name + ".pdf");
        const CliRun r = cli({"workshop", order, pdf, "--date", "2026-03-01"});
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_TRUE(r.out.startsWith(QStringLiteral("page 1 of "))) << r.out.toStdString();
        const QString text = run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        ASSERT_FALSE(text.isEmpty());
        // Every placed piece: its part number and its size as it lies on the sheet.
        const QString cutlist = dir.filePath(name + ".json");
        ASSERT_EQ(cli({"export-cutlist", order, cutlist, "--json"}).code, 0);
        QFile file(cutlist);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QJsonArray rows = QJsonDocument::fromJson(file.readAll()).array();
        ASSERT_FALSE(rows.isEmpty());
        QMap<int, int> counts; // result sheet → its count
        for (const QJsonValue& v : rows) {
            const QJsonObject o = v.toObject();
            const QString size =
                number(o["width"].toDouble()) + QStringLiteral(" × ") + number(o["length"].toDouble());
            EXPECT_TRUE(text.contains(size)) << name.toStdString() << ": " << size.toStdString();
            EXPECT_TRUE(text.contains(QString::number(o["part"].toInt())));
            counts[o["sheet"].toInt()] = o["count"].toInt();
        }
        // A result sheet cut more than once is one diagram headed with its count.
        for (auto it = counts.cbegin(); it != counts.cend(); ++it)
            if (it.value() > 1) {
                EXPECT_TRUE(text.contains(QStringLiteral("× %1").arg(it.value()))) << name.toStdString();
            }
        EXPECT_TRUE(text.contains(QStringLiteral("Cut sequence")));
    }
}

TEST_F(WorkshopCommand, TheLabelsBarcodesReadBackAsOrderPartAndPiece) {
    if (QStandardPaths::findExecutable(QStringLiteral("zbarimg")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
        GTEST_SKIP() << "zbarimg (zbar-tools) or pdftoppm is not installed";
    const QString order = calculated(QStringLiteral("Kitchen"));
    const QString pdf = dir.filePath("labels.pdf");
    const CliRun r = cli({"workshop", order, pdf, "--labels", "roll-100x50", "--no-sequence"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QString cutlist = dir.filePath("k.json");
    ASSERT_EQ(cli({"export-cutlist", order, cutlist, "--json"}).code, 0);
    QFile file(cutlist);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QJsonArray rows = QJsonDocument::fromJson(file.readAll()).array();
    // The last pages are the labels, one a page: the first piece's label is the first label page.
    const QString info = run(QStringLiteral("pdfinfo"), {pdf});
    const int pages = info.section(QStringLiteral("Pages:"), 1).trimmed().section(u'\n', 0, 0).toInt();
    ASSERT_GT(pages, 3);
    const QString png = dir.filePath("page");
    run(QStringLiteral("pdftoppm"),
        {"-png", "-r", "300", "-f", QString::number(pages - 5), "-l", QString::number(pages), pdf, png});
    QStringList decoded;
    for (const QFileInfo& image : QDir(dir.path()).entryInfoList({"page*.png"}))
        decoded << run(QStringLiteral("zbarimg"), {"-q", "--raw", image.filePath()})
                       .trimmed()
                       .split(u'\n', Qt::SkipEmptyParts);
    ASSERT_FALSE(decoded.isEmpty());
    QSet<QString> parts;
    for (const QJsonValue& v : rows)
        parts << QString::number(v.toObject()["part"].toInt());
    for (const QString& code : decoded) {
        const QStringList fields = code.split(u'/');
        ASSERT_EQ(fields.size(), 3) << code.toStdString();
        EXPECT_FALSE(fields[0].isEmpty());
        EXPECT_TRUE(parts.contains(fields[1])) << code.toStdString();
        EXPECT_GE(fields[2].toInt(), 1);
    }
}

TEST_F(WorkshopCommand, RefusesToWriteOverTheOrderOrIntoAFolder) {
    const QString order = calculated(QStringLiteral("Kitchen"));
    const QByteArray before = lintaro::test::readFileBytes(order);
    CliRun r = cli({"workshop", order, order});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(lintaro::test::readFileBytes(order), before);
    r = cli({"workshop", order, dir.path()});
    EXPECT_EQ(r.code, 2);
    r = cli({"workshop", order, dir.filePath("x.pdf"), "--labels", "a5"});
    EXPECT_EQ(r.code, 2);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("x.pdf")));
    r = cli({"workshop", sample("Kitchen.LNO"), dir.filePath("y.pdf")});
    EXPECT_EQ(r.code, 2) << "an order without a result";
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("y.pdf")));
    EXPECT_EQ(cli({"workshop", "--help"}).code, 0);
}
