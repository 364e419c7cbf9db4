#include "platform/PictureLoader.h"
#include "platform/JpegDecoder.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

namespace lintaro {
namespace {

QImage sample() {
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(qRgb(200, 40, 40));
    for (int x = 0; x < 20; ++x)
        for (int y = 0; y < 30; ++y)
            image.setPixel(x, y, qRgb(20, 40, 200));
    return image;
}

// The sample encoded by Qt's own writers; the JPEG is read back through libjpeg.
QByteArray encoded(const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(sample().save(&buffer, format, 95));
    return bytes;
}

// The offset of the first start-of-frame marker's height field.
qsizetype jpegFrameSizeOffset(const QByteArray& jpeg) {
    for (qsizetype i = 2; i + 8 < jpeg.size(); ++i)
        if (static_cast<uchar>(jpeg[i]) == 0xFF && static_cast<uchar>(jpeg[i + 1]) == 0xC0)
            return i + 5;
    return -1;
}

struct Readable {
    const char* format;
};

void PrintTo(const Readable& r, std::ostream* os) {
    *os << r.format;
}

class ReadableFormats : public ::testing::TestWithParam<Readable> {};

TEST_P(ReadableFormats, DecodeToTheSamePicture) {
    const QImage image = LoadPictureData(encoded(GetParam().format));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(40, 30));
    // JPEG is lossy: compare colours roughly, away from the edge between them.
    const QColor left = image.pixelColor(5, 15);
    const QColor right = image.pixelColor(35, 15);
    EXPECT_NEAR(left.blue(), 200, 12);
    EXPECT_NEAR(right.red(), 200, 12);
}

INSTANTIATE_TEST_SUITE_P(PictureLoader, ReadableFormats,
                         ::testing::Values(Readable{"BMP"}, Readable{"PNG"}, Readable{"JPEG"},
                                           Readable{"ICO"}),
                         [](const auto& info) { return std::string(info.param.format); });

TEST(PictureLoader, ReadsGifFiles) {
    // A 1 × 1 GIF with one red pixel.
    const QByteArray gif =
        QByteArray::fromHex("47494638396101000100800000ff00000000002c00000000010001000002024401003b");
    const QImage image = LoadPictureData(gif);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 0));
}

struct Refused {
    const char* name;
    QByteArray (*bytes)();
};

void PrintTo(const Refused& r, std::ostream* os) {
    *os << r.name;
}

class RefusedPictures : public ::testing::TestWithParam<Refused> {};

TEST_P(RefusedPictures, GiveANullImageWithoutCrashing) {
    EXPECT_TRUE(LoadPictureData(GetParam().bytes()).isNull());
}

INSTANTIATE_TEST_SUITE_P(
    PictureLoader, RefusedPictures,
    ::testing::Values(Refused{"Empty", [] { return QByteArray(); }},
                      Refused{"TextFile", [] { return QByteArray("[Common]\r\nLogo=x\r\n"); }},
                      Refused{"TruncatedJpeg",
                              [] {
                                  const QByteArray jpeg = encoded("JPEG");
                                  return jpeg.left(jpeg.size() * 2 / 3);
                              }},
                      Refused{"JpegHeaderOnly", [] { return QByteArray::fromHex("ffd8ffe000104a464946"); }},
                      Refused{"JpegWithGarbledData",
                              [] {
                                  QByteArray jpeg = encoded("JPEG");
                                  for (qsizetype i = jpeg.size() / 2; i < jpeg.size() - 2; i += 7)
                                      jpeg[i] = static_cast<char>(0xFF);
                                  return jpeg;
                              }},
                      Refused{"JpegDeclaringAHugeSize",
                              [] {
                                  QByteArray jpeg = encoded("JPEG");
                                  const qsizetype at = jpegFrameSizeOffset(jpeg);
                                  EXPECT_GT(at, 0);
                                  jpeg[at] = jpeg[at + 2] = static_cast<char>(0xFF); // 65 535 × 65 535
                                  jpeg[at + 1] = jpeg[at + 3] = static_cast<char>(0xFF);
                                  return jpeg;
                              }},
                      Refused{"BmpDeclaringAHugeSize",
                              [] {
                                  QByteArray bmp = encoded("BMP");
                                  qToLittleEndian<qint32>(100000, bmp.data() + 18);
                                  qToLittleEndian<qint32>(100000, bmp.data() + 22);
                                  return bmp;
                              }},
                      Refused{
                          "GifDeclaringAHugeScreen",
                          [] {
                              return QByteArray::fromHex(
                                  "474946383961ffffffff800000ff00000000002c00000000ffffffff000002024401003b");
                          }},
                      Refused{"WindowsMetafile",
                              [] { return QByteArray::fromHex("d7cdc69a0000000000000000000000000000"); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PictureLoader, MissingFileGivesANullImage) {
    QTemporaryDir dir;
    EXPECT_TRUE(LoadPictureFile(dir.filePath("none.png")).isNull());
    QFile empty(dir.filePath("empty.jpg"));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    EXPECT_TRUE(LoadPictureFile(empty.fileName()).isNull());
}

TEST(PictureLoader, JpegIsRecognisedByContentNotByName) {
    QTemporaryDir dir;
    QFile file(dir.filePath("banner.bmp"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(encoded("JPEG"));
    file.close();
    EXPECT_EQ(LoadPictureFile(file.fileName()).size(), QSize(40, 30));
    EXPECT_TRUE(LooksLikeJpeg(encoded("JPEG")));
    EXPECT_FALSE(LooksLikeJpeg(encoded("PNG")));
}

} // namespace
} // namespace lintaro
