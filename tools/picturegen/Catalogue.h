#pragma once
// The pictures the generator draws, and the writing of the picture strip (a BMP, LNTR.PIS) with its
// catalogue (LNTR.PCS, one "name;left;top;width;height" line per picture, CR LF line ends).
//
// Adding a picture: write a function that paints it into the given rectangle and add it to a
// group's list (see Patterns.cpp) with its name and size. Names are matched without regard to case
// by the program; the first entry of a name wins.
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QSize>
#include <QString>

#include <functional>
#include <vector>

namespace lintaro::tools {

constexpr int kStripWidth = 1024;

struct TPictureSource {
    QString name;
    QSize size;
    // Paints the picture into `area` of the strip; the area is white when called.
    std::function<void(QPainter& painter, const QRect& area)> draw;
};

using TPictureSources = std::vector<TPictureSource>;

// The groups of pictures, in strip order.
void AddPatternPictures(TPictureSources& sources);
void AddWindowPictures(TPictureSources& sources);
// The folder of the icon theme the window's icons are rendered from (/usr/share/icons/breeze).
void SetIconThemeFolder(const QString& folder);

// Writes the shipped banners into FOLDER/BANNERS.
bool WriteBannerFiles(const QString& folder, int* written, QString* error);

// Lays the pictures out in rows (left to right, a new row when kStripWidth is reached) on a white
// strip, adds the pictures of
// an existing strip and catalogue whose names the sources do not draw (so hand-made pictures
// survive), and writes both files into `folder`. False with a reason when writing fails.
bool WritePictureFiles(const TPictureSources& sources, const QString& folder, int* written, QString* error);

} // namespace lintaro::tools
