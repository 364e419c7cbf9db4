#include "reports/Barcode.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace lintaro;

namespace {

void ensureGuiApp() {
    static int argc = 1;
    static char name[] = "reports_tests";
    static char* argv[] = {name, nullptr};
    if (!QGuiApplication::instance())
        new QGuiApplication(argc, argv);
}

struct DecodeCase {
    int type;
    const char* content;
    const char* decoded; // as zbarimg reports it (UPC-A as the EAN-13 it is part of)
};

std::ostream& operator<<(std::ostream& os, const DecodeCase& c) {
    return os << BarcodeTypeName(c.type).toStdString() << ' ' << c.content;
}

class BarcodeDecode : public testing::TestWithParam<DecodeCase> {};

// Renders the barcode at 300 dpi on white, as a printer would, and reads it back with zbarimg.
TEST_P(BarcodeDecode, ZbarimgReadsTheContentBack) {
    const QString zbarimg = QStandardPaths::findExecutable(QStringLiteral("zbarimg"));
    if (zbarimg.isEmpty())
        GTEST_SKIP() << "zbarimg (zbar-tools) is not installed";
    ensureGuiApp();
    const DecodeCase& c = GetParam();
    QImage image(1500, 600, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(3, 3);
    QString error;
    ASSERT_TRUE(DrawBarcode(painter, QRectF(40, 40, 400, 100), QString::fromLatin1(c.content),
                            {c.type, 4, false, true, 0}, &error))
        << error.toStdString();
    painter.end();
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("code.png"));
    ASSERT_TRUE(image.save(png));
    QProcess process;
    process.start(zbarimg, {QStringLiteral("-q"), png});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(QString::fromUtf8(process.readAllStandardOutput()).trimmed().toStdString(), c.decoded);
}

INSTANTIATE_TEST_SUITE_P(Types, BarcodeDecode,
                         testing::Values(DecodeCase{bcEAN13, "400638133393", "EAN-13:4006381333931"},
                                         DecodeCase{bcEAN8, "9638507", "EAN-8:96385074"},
                                         DecodeCase{bcUPCA, "01234567890", "EAN-13:0012345678905"},
                                         DecodeCase{bcCode128B, "Lintaro-42", "CODE-128:Lintaro-42"},
                                         DecodeCase{bcCode128C, "12345678", "CODE-128:12345678"},
                                         DecodeCase{bcCode39, "LNTR 2026", "CODE-39:LNTR 2026"},
                                         DecodeCase{bc25Interleaved, "12345670", "I2/5:12345670"},
                                         DecodeCase{bcCode93, "ABC-93", "CODE-93:ABC-93"},
                                         DecodeCase{bcCodabar, "A40156B", "Codabar:A40156B"}));

TEST(Barcode, EveryTypeEncodesAValidContentAndRejectsAnInvalidOne) {
    static int argc = 1;
    static char name[] = "reports_tests";
    static char* argv[] = {name, nullptr};
    if (!QGuiApplication::instance())
        new QGuiApplication(argc, argv);
    const char* valid[bcTypeCount] = {
        "1234", "1234",  "1234", "ABC",     "abc",         "ABC",         "abc",    "1234",   "ABC", "abc",
        "1234", "12345", "A12B", "1234567", "12345678901", "12345678901", "123456", "123456", "12",  "12345"};
    ASSERT_EQ(BarcodeTypeNames().size(), bcTypeCount);
    EXPECT_EQ(BarcodeTypeName(0), QStringLiteral("2/5 interleaved"));
    EXPECT_EQ(BarcodeTypeName(19), QStringLiteral("UPC Supp5"));
    for (int type = 0; type < bcTypeCount; ++type) {
        QImage image(400, 200, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        EXPECT_TRUE(DrawBarcode(painter, QRectF(0, 0, 300, 100), QString::fromLatin1(valid[type]),
                                {type, 4, true, false, 0}))
            << BarcodeTypeName(type).toStdString();
        QString error;
        EXPECT_FALSE(DrawBarcode(painter, QRectF(0, 0, 300, 100), QStringLiteral("€"),
                                 {type, 4, false, false, 0}, &error))
            << BarcodeTypeName(type).toStdString();
        EXPECT_FALSE(error.isEmpty());
    }
}

} // namespace
