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

    int width = 0;
    int height = 1;
    for (const Placed& p : pictures) {
        width += p.image.width();
        height = std::max(height, p.image.height());
    }
    QImage strip(std::max(width, 1), height, QImage::Format_RGB888);
    strip.fill(Qt::white);
    QString catalogue;
    QPainter painter(&strip);
    int left = 0;
    for (const Placed& p : pictures) {
        painter.drawImage(left, 0, p.image);
        catalogue += QStringLiteral("%1;%2;%3;%4;%5\r\n")
                         .arg(p.name)
                         .arg(left)
                         .arg(0)
                         .arg(p.image.width())
                         .arg(p.image.height());
        left += p.image.width();
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
