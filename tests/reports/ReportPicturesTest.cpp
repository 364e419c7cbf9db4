#include "reports/ReportPictures.h"
#include "reports/OrvelCanvas.h"
#include "reports/Sestava.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace lintaro;

namespace {

void guiApp() {
    test::ensureGuiApplication();
}

QImage filled(QColor colour, int size = 4) {
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// Colours through PDF and back may be off by a step or two.
bool near(QColor a, QColor b) {
    return std::abs(a.red() - b.red()) <= 8 && std::abs(a.green() - b.green()) <= 8 &&
           std::abs(a.blue() - b.blue()) <= 8;
}

// A report whose template file lies in a temporary folder with a few files beside it.
struct Folder {
    Folder() {
        report.ReportDir = dir.path() + u'/';
        report.ReportDirIgnore = false;
        report.ReportName = QStringLiteral("Report.pts");
        filled(Qt::blue).save(dir.filePath(QStringLiteral("blue.png")));
        filled(Qt::green).save(dir.filePath(QStringLiteral("Logo.PNG")));
        QFile notes(dir.filePath(QStringLiteral("notes.txt")));
        notes.open(QIODevice::WriteOnly);
        notes.write("not a picture");
    }
    QTemporaryDir dir;
    TSestava report;
    TSiReportElement element;
};

TEST(ReportPictures, NamedPictureFromTheCallbackElseTheTemplateFolderElseNothing) {
    Folder f;
    f.report.OnNactiObraz = [](TSestava&, const QString& name, QImage& picture) {
        if (name != QStringLiteral("named"))
            return false;
        picture = filled(Qt::red);
        return true;
    };
    struct Case {
        const char* name;
        QColor colour; // invalid: no picture
    };
    for (const Case& c :
         {Case{"named", Qt::red}, Case{"blue.png", Qt::blue}, Case{"missing.png", QColor()}}) {
        const QImage picture = LoadReportPicture(f.report, QString::fromUtf8(c.name), f.element);
        EXPECT_EQ(picture.isNull(), !c.colour.isValid()) << c.name;
        if (!picture.isNull()) {
            EXPECT_EQ(picture.pixelColor(0, 0), c.colour) << c.name;
        }
    }
}

TEST(ReportPictures, ApplicationPreparesEveryPicture) {
    Folder f;
    f.element.Width = 123;
    int prepared = 0;
    f.report.OnPreparePicture = [&](TSestava&, const TSiReportElement& element, QImage& picture) {
        ++prepared;
        EXPECT_EQ(element.Width, 123);
        picture = picture.scaled(2, 2);
    };
    EXPECT_EQ(LoadReportPicture(f.report, QStringLiteral("blue.png"), f.element).size(), QSize(2, 2));
    EXPECT_EQ(prepared, 1);
}

TEST(ReportPictures, FileDecodedOnceARunAndPreparedForEveryElement) {
    Folder f;
    TReportPictureFiles files;
    int prepared = 0;
    f.report.OnPreparePicture = [&](TSestava&, const TSiReportElement&, QImage& picture) {
        if (++prepared == 2)
            picture.setPixelColor(0, 0, Qt::red); // this element's own change
    };
    const QImage first = LoadReportPicture(f.report, QStringLiteral("blue.png"), f.element, &files);
    ASSERT_TRUE(QFile::remove(f.dir.filePath(QStringLiteral("blue.png"))));
    const QImage second = LoadReportPicture(f.report, QStringLiteral("blue.png"), f.element, &files);
    const QImage third = LoadReportPicture(f.report, QStringLiteral("blue.png"), f.element, &files);
    EXPECT_EQ(prepared, 3);
    EXPECT_EQ(second.pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(third.pixelColor(0, 0), QColor(Qt::blue)); // the change stayed with its element
    EXPECT_EQ(first.cacheKey(), third.cacheKey());       // one decoded picture shared
}

TEST(ReportPictures, NamesFromTheCallbackElseThePictureFilesBesideTheTemplate) {
    Folder f;
    EXPECT_EQ(ReportPictureNames(f.report), (QStringList{"blue.png", "Logo.PNG"}));
    f.report.OnNactiSeznamObrazu = [](TSestava&, QStringList& names) { names << QStringLiteral("Logo"); };
    EXPECT_EQ(ReportPictureNames(f.report), QStringList{"Logo"});
}

TEST(ReportPictures, BackgroundFromTheReportOrTheTemplatesOwnLine) {
    struct Case {
        bool own, ownBox, reportPrints, linePrints;
        int orientation;
        QRect box;
        bool prints;
        QColor colour;
    };
    const QRect portrait(0, 0, 826, 1169);
    for (const Case& c : {
             Case{false, false, true, false, 0, portrait, true, Qt::blue},
             Case{false, true, false, true, 1, QRect(0, 0, 1169, 826), false, Qt::blue},
             Case{true, false, true, false, 0, portrait, false, Qt::green},
             Case{true, true, false, true, 0, QRect(100, 200, 826, 300), true, Qt::green},
         }) {
        Folder f;
        f.report.PageSetup.Orientation = c.orientation;
        f.report.Background = QStringLiteral("blue.png");
        f.report.PrintBackground = c.reportPrints;
        TBackgroundSettings& line = f.report.BackgroundSettings;
        line.OwnBackground = c.own;
        line.OwnBox = c.ownBox;
        line.PrintBackground = c.linePrints;
        line.PictureName = QStringLiteral("Logo.PNG");
        // Width 0 stands for the page width.
        line.Left = 100;
        line.Top = 200;
        line.Width = 0;
        line.Height = 300;
        const TPageBackground background = ResolveBackground(f.report);
        EXPECT_EQ(background.Box, c.box) << c.own << c.ownBox;
        EXPECT_EQ(background.Print, c.prints) << c.own << c.ownBox;
        ASSERT_FALSE(background.IsEmpty());
        EXPECT_EQ(background.Picture.pixelColor(0, 0), c.colour);
    }
}

TEST(ReportPictures, PrintedBackgroundLiesUnderThePage) {
    guiApp();
    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (pdftoppm.isEmpty())
        GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    TPageSetup page;
    page.Left = page.Top = 100;
    TSestVystup output;
    TVystPrvek box;
    box.Kind = ekRectangle;
    box.Box = QRect(0, 0, 200, 200);
    box.Style.Kind = ekRectangle;
    box.Style.PenWidth = 1;
    box.Style.BrushColor = 0; // black
    output.AddPage().Prvky.push_back(box);
    TPageBackground background;
    background.Picture = filled(Qt::red);
    background.Box = QRect(0, 0, 826, 1169);
    for (const bool prints : {true, false}) {
        background.Print = prints;
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("page.pdf"));
        QString error;
        ASSERT_TRUE(ExportPdf(output, page, pdf, QStringLiteral("Pozadí"), error, 1, 1, &background));
        // 10 dots per inch: a dot is ten units.
        QProcess process;
        process.start(pdftoppm, {QStringLiteral("-r"), QStringLiteral("10"), QStringLiteral("-png"),
                                 QStringLiteral("-singlefile"), pdf, dir.filePath(QStringLiteral("page"))});
        ASSERT_TRUE(process.waitForFinished(60000));
        const QImage image(dir.filePath(QStringLiteral("page.png")));
        ASSERT_FALSE(image.isNull());
        const QColor paper = prints ? QColor(Qt::red) : QColor(Qt::white);
        EXPECT_TRUE(near(image.pixelColor(2, 2), paper)) << prints;
        EXPECT_TRUE(near(image.pixelColor(20, 20), Qt::black)) << "the page is drawn over it";
        EXPECT_TRUE(near(image.pixelColor(50, 50), paper)) << prints;
    }
}

} // namespace
