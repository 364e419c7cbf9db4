#include "Catalogue.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>

#include <algorithm>

namespace lintaro::tools {

namespace {

struct Placed {
    QString name;
    QImage image;
};

// The pictures of an existing strip and catalogue, in catalogue order; none when either is missing.
std::vector<Placed> readExisting(const QString& stripPath, const QString& cataloguePath) {
    std::vector<Placed> out;
    QImageReader reader(stripPath);
    reader.setDecideFormatFromContent(true);
    const QImage strip = reader.read();
    QFile file(cataloguePath);
    if (strip.isNull() || !file.open(QIODevice::ReadOnly))
        return out;
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    for (const QString& line : QString::fromUtf8(file.readAll()).split(lineBreak)) {
        const QStringList f = line.split(u';');
        if (f.size() < 5 || f[0].trimmed().isEmpty())
            continue;
        const QRect r(f[1].trimmed().toInt(), f[2].trimmed().toInt(), f[3].trimmed().toInt(),
                      f[4].trimmed().toInt());
        if (r.width() > 0 && r.height() > 0)
            out.push_back({f[0], strip.copy(r)});
    }
    return out;
}

bool save(const QString& path, const std::function<bool(QIODevice&)>& write, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !write(file) || !file.commit()) {
        if (error)
            *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace

bool WritePictureFiles(const TPictureSources& sources, const QString& folder, int* written, QString* error) {
    const QDir dir(folder);
    const QString stripPath = dir.filePath(QStringLiteral("LNTR.PIS"));
    const QString cataloguePath = dir.filePath(QStringLiteral("LNTR.PCS"));

    std::vector<Placed> pictures;
    QSet<QString> names;
    for (const TPictureSource& source : sources) {
        QImage image(source.size, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        source.draw(painter, image.rect());
        painter.end();
        pictures.push_back({source.name, image});
        names.insert(source.name.toUpper());
    }
    for (Placed& kept : readExisting(stripPath, cataloguePath))
        if (!names.contains(kept.name.toUpper())) {
            names.insert(kept.name.toUpper());
            pictures.push_back(std::move(kept));
        }

    // Shelf layout: rows of pictures, each row as high as its highest picture.
    struct Spot {
        int left;
        int top;
    };
    // Placed highest first, so that rows waste little; the catalogue keeps the pictures' order.
    std::vector<size_t> order(pictures.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return pictures[a].image.height() > pictures[b].image.height();
    });
    std::vector<Spot> spots(pictures.size());
    int width = 1;
    int left = 0;
    int top = 0;
    int rowHeight = 0;
    for (size_t i : order) {
        const Placed& p = pictures[i];
        if (left > 0 && left + p.image.width() > kStripWidth) {
            top += rowHeight;
            left = 0;
            rowHeight = 0;
        }
        spots[i] = {left, top};
        left += p.image.width();
        width = std::max(width, left);
        rowHeight = std::max(rowHeight, p.image.height());
    }
    const int height = std::max(1, top + rowHeight);
    QImage strip(width, height, QImage::Format_RGB888);
    strip.fill(Qt::white);
    QString catalogue;
    QPainter painter(&strip);
    for (size_t i = 0; i < pictures.size(); ++i) {
        const Placed& p = pictures[i];
        painter.drawImage(spots[i].left, spots[i].top, p.image);
        catalogue += QStringLiteral("%1;%2;%3;%4;%5\r\n")
                         .arg(p.name)
                         .arg(spots[i].left)
                         .arg(spots[i].top)
                         .arg(p.image.width())
                         .arg(p.image.height());
    }
    painter.end();

    if (!save(
            stripPath, [&](QIODevice& d) { return strip.save(&d, "BMP"); }, error))
        return false;
    if (!save(
            cataloguePath, [&](QIODevice& d) { return d.write(catalogue.toUtf8()) >= 0; }, error))
        return false;
    if (written)
        *written = static_cast<int>(pictures.size());
    return true;
}

} // namespace lintaro::tools
