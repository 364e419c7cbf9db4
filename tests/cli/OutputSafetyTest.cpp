// Never a false success: outputs that are devices, pipes or links, templates whose numbers cannot be
// laid out, rich texts that nest without end, and an order whose material cannot be read. Each of
// these fails with a message and the matching exit code, or succeeds with a sound file, in bounded
// time (the sanitizer build runs this too).
#include "cli/CliSupport.h"
#include "foundation/Ini.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <iostream>

#include <sys/stat.h>
#include <sys/sysmacros.h>

using lintaro::test::cli;
using lintaro::test::CliRun;
using lintaro::test::fastCalculation;
using lintaro::test::sample;

namespace {

QString hostile(const QString& name) {
    return lintaro::test::dataPath(QStringLiteral("hostile/") + name);
}

// The shipped data files in a folder of their own, with the template sections given replaced by the
// lines of a template file; the folder for --data-dir.
QString dataWithTemplate(const QTemporaryDir& dir, const QStringList& sections, const QString& templateFile) {
    const QString data = dir.filePath(QStringLiteral("data"));
    QDir().mkpath(data);
    for (const QString& name : QDir(QStringLiteral(LINTARO_BIN_DIR)).entryList({QStringLiteral("LNTR.*")}))
        QFile::copy(QStringLiteral(LINTARO_BIN_DIR "/") + name, data + u'/' + name);
    lintaro::TINI templates;
    EXPECT_TRUE(templates.LoadFromFile(data + QStringLiteral("/LNTR.PRS")));
    const QStringList lines = QString::fromUtf8(lintaro::test::readFileBytes(templateFile))
                                  .split(QRegularExpression(QStringLiteral("\r?\n")), Qt::SkipEmptyParts);
    for (const QString& section : sections) {
        QStringList* body = templates.FindSection(section);
        EXPECT_NE(body, nullptr) << section.toStdString();
        if (body)
            *body = lines;
    }
    EXPECT_TRUE(templates.SaveToFile(data + QStringLiteral("/LNTR.PRS")));
    return data;
}

enum TNodeKind { nkFifo, nkDevice };

// A FIFO or a character device (the kernel's "full" device) made in the test's own folder; never
// one of the system's /dev entries.
bool makeNode(const QString& path, TNodeKind kind) {
    const QByteArray name = QFile::encodeName(path);
    if (kind == nkFifo)
        return mkfifo(name.constData(), 0600) == 0;
    return mknod(name.constData(), S_IFCHR | 0600, makedev(1, 7)) == 0;
}

bool isNode(const QString& path, TNodeKind kind) {
    struct stat st {};
    if (lstat(QFile::encodeName(path).constData(), &st) != 0)
        return false;
    return kind == nkFifo ? S_ISFIFO(st.st_mode) : S_ISCHR(st.st_mode);
}

} // namespace

TEST(CliOutputSafety, ATargetThatIsAPipeOrADeviceIsRefusedAndLeftAlone) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString order = sample("Kitchen.LNO");
    const QString calculated = dir.filePath(QStringLiteral("calculated.LNO"));
    ASSERT_EQ(cli(QStringList{"calculate", order, "--output", calculated} + fastCalculation()).code, 0);
    const QString settings = sample("Sample.INI");
    const struct {
        const char* name;
        QStringList args; // the target is appended
    } commands[] = {
        {"print-text", {"print", order, "--document", "order", "--settings", settings, "--text"}},
        {"print-pdf", {"print", order, "--document", "order", "--settings", settings, "--pdf"}},
        {"export-html", {"export-html", order}},
        {"export-csv", {"export-csv", order}},
        {"export-cutlist", {"export-cutlist", calculated}},
        {"draw", {"draw", calculated, "--sheet", "1"}},
        {"calculate", QStringList{"calculate", order} + fastCalculation() + QStringList{"--output"}},
    };
    for (const TNodeKind kind : {nkFifo, nkDevice}) {
        const QString node = dir.filePath(kind == nkFifo ? QStringLiteral("pipe") : QStringLiteral("full"));
        if (!makeNode(node, kind)) {
            std::cout << "[  SKIPPED ] no " << (kind == nkFifo ? "FIFO" : "device node")
                      << " can be made here\n";
            continue;
        }
        const QString link = node + QStringLiteral("-link");
        ASSERT_TRUE(QFile::link(node, link));
        for (const auto& c : commands) {
            // The suffix the command wants, on a name that is the node itself or a link to it.
            const QString suffix = QString::fromLatin1(c.name) == QLatin1String("draw") ? ".svg" : "";
            for (const QString& base : {node, link}) {
                const QString target = base + suffix;
                if (!suffix.isEmpty() && !QFileInfo::exists(target)) {
                    ASSERT_TRUE(QFile::link(node, target));
                }
                SCOPED_TRACE(std::string(c.name) + " onto " + target.toStdString());
                const CliRun run = cli(c.args + QStringList{target});
                EXPECT_EQ(run.code, 1) << run.err.toStdString();
                EXPECT_TRUE(run.err.contains(QLatin1String("is not a regular file")))
                    << run.err.toStdString();
                EXPECT_TRUE(isNode(node, kind));
            }
        }
    }
}

TEST(CliOutputSafety, ALinkToAFileIsFollowedAndStaysALink) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("real.htm"));
    const QString link = dir.filePath(QStringLiteral("link.htm"));
    ASSERT_TRUE(lintaro::test::writeFileBytes(file, "old"));
    ASSERT_TRUE(QFile::link(file, link));
    const CliRun run = cli({"export-html", sample("Kitchen.LNO"), link});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_TRUE(lintaro::test::readFileBytes(file).contains("<html")) << "the file the link names is written";
}

TEST(CliOutputSafety, TemplatesThatCannotBeLaidOutFailWithTheReasonAndWriteNothing) {
    const struct {
        const char* file;
        const char* reason; // a part of the engine's message
    } cases[] = {
        {"margins-huge.tpl", "Okraje stránky"},
        {"page-negative.tpl", "Okraje stránky"},
        {"head-5000.tpl", "Hlavička a patička stránky"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        QTemporaryDir dir;
        const QString data = dataWithTemplate(dir, {"ReportParts"}, hostile(QString::fromLatin1(c.file)));
        const QString pdf = dir.filePath(QStringLiteral("parts.pdf"));
        const CliRun run =
            cli({"print", sample("Kitchen.LNO"), "--document", "parts", "--pdf", pdf, "--data-dir", data});
        EXPECT_EQ(run.code, 1) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.reason))) << run.err.toStdString();
        EXPECT_FALSE(run.out.contains(QLatin1String("page "))) << run.out.toStdString();
        EXPECT_FALSE(QFileInfo::exists(pdf));
    }
}

TEST(CliOutputSafety, ExtremeNumbersAndDeepNestingPrintSoundFilesInBoundedWork) {
    const struct {
        const char* file;
        QStringList sections;
        QString source;
        const char* document;
        const char* target; // "pdf" or "text"
    } cases[] = {
        // Elements far outside the page are left off it; the PDF is whole.
        {"element-far.tpl", {"ReportParts"}, sample("Kitchen.LNO"), "parts", "pdf"},
        // A page 100 000 000 high is read as the largest page there is; the text stays small.
        {"textgrid-tall.tpl", {"ReportSetup"}, sample("Kitchen.LNO"), "setup", "text"},
        // Twenty nested tables, and an order note of 4 000, lay out flattened.
        {"nested-tables-20.tpl", {"ReportSetup"}, sample("Kitchen.LNO"), "setup", "pdf"},
        {"richnote.tpl",
         {"ReportOrder", "ReportOrderwVAT", "ReportOrderwoVAT"},
         hostile("richnote-Kitchen.LNO"),
         "order",
         "pdf"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        QTemporaryDir dir;
        const QString data = dataWithTemplate(dir, c.sections, hostile(QString::fromLatin1(c.file)));
        const bool text = QLatin1String(c.target) == QLatin1String("text");
        const QString out = dir.filePath(text ? QStringLiteral("out.txt") : QStringLiteral("out.pdf"));
        const CliRun run = cli({"print", c.source, "--document", c.document, text ? "--text" : "--pdf", out,
                                "--data-dir", data});
        EXPECT_FALSE(run.crashed);
        EXPECT_EQ(run.code, 0) << run.err.toStdString();
        const QByteArray bytes = lintaro::test::readFileBytes(out);
        if (text) {
            EXPECT_TRUE(bytes.contains("start")) << bytes.left(200).toStdString();
            EXPECT_LT(bytes.size(), 100000);
        } else {
            EXPECT_TRUE(bytes.startsWith("%PDF"));
            EXPECT_TRUE(bytes.trimmed().endsWith("%%EOF"));
        }
    }
}

TEST(CliOutputSafety, AnOrderWhoseMaterialCannotBeReadIsNotCalculated) {
    QTemporaryDir dir;
    const QByteArray kitchen = lintaro::test::readFileBytes(sample("Kitchen.LNO"));
    ASSERT_TRUE(kitchen.contains("Material=Board18.LNM"));
    QDir(dir.path()).mkdir(QStringLiteral("Folder.LNM"));
    ASSERT_TRUE(lintaro::test::writeFileBytes(dir.filePath(QStringLiteral("Empty.LNM")), ""));
    ASSERT_TRUE(lintaro::test::writeFileBytes(dir.filePath(QStringLiteral("Damaged.LNM")),
                                              "[Material]\r\nName=x\r\n"));
    const struct {
        const char* material;
        const char* reason;
    } cases[] = {
        {"Missing.LNM", "No such file"},
        {"Folder.LNM", "is a folder"},
        {"Empty.LNM", "Not a material file"},
        {"Damaged.LNM", "Not a material file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.material);
        const QString order = dir.filePath(QStringLiteral("order.LNO"));
        ASSERT_TRUE(lintaro::test::writeFileBytes(
            order,
            QByteArray(kitchen).replace("Material=Board18.LNM", QByteArray("Material=") + c.material)));
        const QString result = dir.filePath(QStringLiteral("result.LNO"));
        const CliRun run = cli(QStringList{"calculate", order, "--output", result} + fastCalculation());
        EXPECT_EQ(run.code, 2) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QString::fromLatin1(c.material))) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QString::fromLatin1(c.reason))) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
        EXPECT_FALSE(QFileInfo::exists(result));
        // --material names one that can be read: the order is calculated with it.
        const CliRun named =
            cli(QStringList{"calculate", order, "--output", result, "--material", sample("Board18.LNM")} +
                fastCalculation());
        EXPECT_EQ(named.code, 0) << named.err.toStdString();
        EXPECT_TRUE(QFileInfo::exists(result));
        QFile::remove(result);
    }
}
