// A result whose parts changed after the calculation is still printed and drawn by the batch tool,
// with one warning line that says the plan is out of date.
#include "CliSupport.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using lintaro::test::cli;
using lintaro::test::CliRun;
using lintaro::test::fastCalculation;
using lintaro::test::sample;

TEST(CliOutOfDate, PrintAndDrawWarnWhenThePartsChangedAfterTheCalculation) {
    QTemporaryDir dir;
    const QString order = dir.filePath("k.LNO");
    ASSERT_EQ(
        cli(QStringList{"calculate", sample("Kitchen.LNO"), "--output", order} + fastCalculation()).code, 0);
    const QStringList print{"print", order, "--document", "sheets", "--pdf", dir.filePath("s.pdf")};
    const CliRun fresh = cli(print);
    EXPECT_EQ(fresh.code, 0) << fresh.err.toStdString();
    EXPECT_FALSE(fresh.err.contains("out of date")) << fresh.err.toStdString();

    // The first part's count, changed in the file as another program might.
    QByteArray text = lintaro::test::readFileBytes(order);
    const qsizetype at = text.indexOf("[Parts]");
    ASSERT_GE(at, 0);
    const qsizetype item = text.indexOf("Item", at);
    const qsizetype end = text.indexOf('\r', item);
    QByteArray line = text.mid(item, end - item);
    const qsizetype lastBar = line.lastIndexOf('|', line.size() - 2);
    line = line.left(lastBar) + "|99|";
    text = text.left(item) + line + text.mid(end);
    {
        QFile file(order);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    for (const QStringList& args :
         {print, QStringList{"draw", order, "--all", dir.filePath("d.pdf")},
          QStringList{"workshop", order, dir.filePath("w.pdf")}, QStringList{"summary", order, "--json"},
          QStringList{"export-html", order, dir.filePath("o.htm")}}) {
        const CliRun stale = cli(args);
        EXPECT_EQ(stale.code, 0) << stale.err.toStdString();
        EXPECT_TRUE(stale.err.startsWith("lintaro-cli " + args[0] + ": warning: " + order + ": "))
            << stale.err.toStdString();
        EXPECT_TRUE(stale.err.contains("out of date"));
        EXPECT_EQ(stale.err.count('\n'), 1) << stale.err.toStdString();
    }
}
