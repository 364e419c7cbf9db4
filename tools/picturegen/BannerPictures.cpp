// The banners shipped in BANNERS: two for the bottom strip and two for the right one, each showing
// one of the program's own features. One bottom banner is a JPEG, so a fresh install exercises the
// JPEG path of the picture loader as well.
#include "Catalogue.h"

#include <QDir>
#include <QLinearGradient>
#include <QSaveFile>

namespace lintaro::tools {

namespace {

const QColor kDarkBlue(3, 58, 99);
const QColor kBoard(243, 231, 207);
const QColor kPart(214, 190, 150);
const QColor kRest(170, 210, 170);
const QColor kGrain(176, 141, 87);

QFont bannerFont(int pixelSize, bool bold) {
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

void background(QPainter& p, const QRect& area, bool vertical) {
    QLinearGradient g(area.topLeft(), vertical ? area.bottomLeft() : area.topRight());
    g.setColorAt(0, kDarkBlue);
    g.setColorAt(1, QColor(60, 130, 150));
    p.fillRect(area, g);
}

// A stock sheet with parts; `rest` marks the off-cut that goes back to stock, `grain` hatches it.
void sheet(QPainter& p, const QRectF& r, bool rest, bool grain) {
    p.save();
    p.setPen(QPen(kDarkBlue, 1));
    p.setBrush(kBoard);
    p.drawRect(r);
    const double w = r.width(), h = r.height();
    const auto at = [&](double x, double y, double dx, double dy) {
        return QRectF(r.left() + x * w, r.top() + y * h, dx * w, dy * h).adjusted(1, 1, -1, -1);
    };
    p.setBrush(kPart);
    for (const QRectF& f :
         {at(0, 0, 0.5, 0.55), at(0, 0.55, 0.5, 0.45), at(0.5, 0, 0.25, 0.55), at(0.75, 0, 0.25, 0.55)})
        p.drawRect(f);
    if (rest) {
        p.setBrush(kRest);
        p.drawRect(at(0.5, 0.55, 0.5, 0.45));
    }
    if (grain) {
        p.setClipRect(r);
        p.setPen(QPen(kGrain, 1));
        for (double y = r.top() + 3; y < r.bottom(); y += 5)
            p.drawLine(QPointF(r.left(), y), QPointF(r.right(), y - 2));
    }
    p.restore();
}

void bottomPlans(QPainter& p, const QRect& a) {
    background(p, a, false);
    sheet(p, QRectF(a.left() + 8, a.top() + 8, 66, 44), false, false);
    p.setPen(Qt::white);
    p.setFont(bannerFont(17, true));
    p.drawText(a.adjusted(86, 6, -6, -30), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Cutting plans in seconds"));
    p.setFont(bannerFont(12, false));
    p.drawText(a.adjusted(86, 30, -6, -6), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Guillotine cuts, the saw's kerf and every stock size taken into account"));
}

void bottomPrices(QPainter& p, const QRect& a) {
    background(p, a, false);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 252, 236));
    p.drawRect(QRect(a.left() + 14, a.top() + 8, 40, 44));
    p.setPen(QPen(kDarkBlue, 2));
    for (int y = 16; y < 48; y += 7)
        p.drawLine(a.left() + 20, a.top() + y, a.left() + 48, a.top() + y);
    p.setPen(Qt::white);
    p.setFont(bannerFont(17, true));
    p.drawText(a.adjusted(70, 6, -6, -30), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Priced offers with VAT"));
    p.setFont(bannerFont(12, false));
    p.drawText(a.adjusted(70, 30, -6, -6), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Material and waste priced into the order, printed or saved as HTML"));
}

void rightText(QPainter& p, const QRect& a, const QString& title, const QString& text) {
    p.setPen(Qt::white);
    p.setFont(bannerFont(17, true));
    p.drawText(a.adjusted(10, 12, -10, -200), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, title);
    p.setFont(bannerFont(12, false));
    p.drawText(a.adjusted(10, 200, -10, -8), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, text);
}

void rightRests(QPainter& p, const QRect& a) {
    background(p, a, true);
    sheet(p, QRectF(a.left() + 15, a.top() + 80, a.width() - 30, 100), true, false);
    rightText(
        p, a, QStringLiteral("Rests go back to stock"),
        QStringLiteral("Off-cuts worth keeping return to the material as rest sizes, ready for the next "
                       "order."));
}

void rightGrain(QPainter& p, const QRect& a) {
    background(p, a, true);
    sheet(p, QRectF(a.left() + 15, a.top() + 80, a.width() - 30, 100), false, true);
    rightText(p, a, QStringLiteral("Grain respected"),
              QStringLiteral("Parts keep the grain along X or Y; plain parts may turn to fill the sheet."));
}

bool writeBanner(const QDir& dir, const QString& name, const QSize& size,
                 void (*draw)(QPainter&, const QRect&), const char* format, QString* error) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    draw(painter, image.rect());
    painter.end();
    QSaveFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, format, 92) || !file.commit()) {
        if (error)
            *error = QStringLiteral("cannot write %1: %2").arg(file.fileName(), file.errorString());
        return false;
    }
    return true;
}

} // namespace

bool WriteBannerFiles(const QString& folder, int* written, QString* error) {
    QDir dir(folder);
    if (!dir.mkpath(QStringLiteral("BANNERS")) || !dir.cd(QStringLiteral("BANNERS"))) {
        if (error)
            *error = QStringLiteral("cannot create %1/BANNERS").arg(folder);
        return false;
    }
    const QSize bottom(468, 60);
    const QSize right(150, 300);
    const bool ok =
        writeBanner(dir, QStringLiteral("BottomBanner1.png"), bottom, bottomPlans, "PNG", error) &&
        writeBanner(dir, QStringLiteral("BottomBanner2.jpg"), bottom, bottomPrices, "JPEG", error) &&
        writeBanner(dir, QStringLiteral("RightBanner1.png"), right, rightRests, "PNG", error) &&
        writeBanner(dir, QStringLiteral("RightBanner2.png"), right, rightGrain, "PNG", error);
    if (ok && written)
        *written = 4;
    return ok;
}

} // namespace lintaro::tools
