// The window's pictures: icon buttons in their three states, side-menu blocks, page headers, the top
// strip, the logo, the tip pictures and the print preview's banners. The icons are the SVG icons of
// the Breeze theme (LGPL, see data/LICENSES), rendered with Qt Svg; everything else is drawn here in
// the window's colours so the set looks like one.
#include "Catalogue.h"

#include <QFile>
#include <QFont>
#include <QLinearGradient>
#include <QPainterPath>
#include <QSvgRenderer>

#include <cstdio>
#include <map>

namespace lintaro::tools {

namespace {

const QColor kWindow(205, 220, 220);
const QColor kDarkBlue(3, 58, 99);
const QColor kField(255, 252, 236);
const QColor kCell(255, 242, 203);
const QColor kGreyText(174, 174, 174);
constexpr int kIcon = 32;
constexpr int kButton = 36;

QString g_themeDir = QStringLiteral("/usr/share/icons/breeze");

// The theme file of an icon name, the first of the theme's folders that holds it.
QString iconFile(const QString& icon) {
    for (const char* folder :
         {"actions/32", "mimetypes/32", "places/32", "apps/48", "status/32", "actions/22"}) {
        const QString path = g_themeDir + u'/' + QLatin1String(folder) + u'/' + icon + QStringLiteral(".svg");
        if (QFile::exists(path))
            return path;
    }
    return {};
}

// The icon rendered at the size asked for, on a transparent background; a red cross when the theme
// lacks it, so a missing icon is seen at once.
QImage renderIcon(const QString& icon, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    QSvgRenderer renderer(iconFile(icon));
    if (renderer.isValid()) {
        renderer.render(&p, QRectF(0, 0, size, size));
    } else {
        std::fprintf(stderr, "lintaro-picturegen: icon %s not found in %s\n", qPrintable(icon),
                     qPrintable(g_themeDir));
        p.setPen(QPen(Qt::red, 3));
        p.drawLine(2, 2, size - 3, size - 3);
        p.drawLine(size - 3, 2, 2, size - 3);
    }
    return image;
}

// Grey with the icon's own lightness, faded towards the background.
QImage greyed(const QImage& icon) {
    QImage out = icon.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const int grey = qGray(line[x]);
            line[x] = qRgba(grey, grey, grey, qAlpha(line[x]) * 45 / 100);
        }
    }
    return out;
}

enum State { stNormal = 1, stHot = 2, stDisabled = 3 };

// The theme's icons are drawn for light backgrounds: on the dark headers they sit on a light tile.
void iconTile(QPainter& p, const QPoint& at, const QImage& icon) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 252, 236, 235));
    p.drawRoundedRect(QRectF(at.x() - 3, at.y() - 3, icon.width() + 6, icon.height() + 6), 4, 4);
    p.drawImage(at, icon);
    p.restore();
}

void iconButton(QPainter& p, const QRect& area, const QString& icon, State state) {
    p.fillRect(area, kWindow);
    p.setRenderHint(QPainter::Antialiasing);
    if (state == stHot) {
        p.setPen(QPen(kDarkBlue, 1));
        p.setBrush(kField);
        p.drawRoundedRect(QRectF(area).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    }
    const QImage image = renderIcon(icon, kIcon);
    const QPoint at(area.left() + (area.width() - kIcon) / 2, area.top() + (area.height() - kIcon) / 2);
    p.drawImage(at, state == stDisabled ? greyed(image) : image);
}

void addThreeStates(TPictureSources& sources, const QString& name, const QString& icon) {
    for (State state : {stNormal, stHot, stDisabled})
        sources.push_back({name + QString::number(state), QSize(kButton, kButton),
                           [icon, state](QPainter& p, const QRect& a) { iconButton(p, a, icon, state); }});
}

QFont font(int pixelSize, bool bold) {
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

struct PageLook {
    const char* page;
    const char* title;
    const char* icon;
    int commands; // side-menu labels on the expanded block
};

const PageLook kPageLooks[] = {
    {"Order", "Order", "financial-list", 7},
    {"Parts", "Parts", "view-list-details", 7},
    {"Material", "Material", "package-x-generic", 7},
    {"Sheets", "Cutting sheets", "view-list-icons", 5},
    {"Setup", "Settings", "configure", 3},
};

constexpr int kMenuWidth = 170;
constexpr int kMenuHeader = 36;
constexpr int kMenuLine = 22;

// The header of a side-menu block: the page's icon and name.
void menuHeader(QPainter& p, const QRect& area, const PageLook& look, State state) {
    const QColor back = state == stHot        ? QColor(40, 110, 150)
                        : state == stDisabled ? QColor(150, 165, 170)
                                              : kDarkBlue;
    p.fillRect(area, back);
    p.setPen(QColor(255, 255, 255, 60));
    p.drawLine(area.topLeft(), area.topRight());
    const QImage icon = renderIcon(QLatin1String(look.icon), 24);
    iconTile(p, QPoint(area.left() + 9, area.top() + (area.height() - 24) / 2),
             state == stDisabled ? greyed(icon) : icon);
    p.setPen(state == stDisabled ? QColor(225, 225, 225) : Qt::white);
    p.setFont(font(14, true));
    p.drawText(area.adjusted(40, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft, QLatin1String(look.title));
}

void expandedBlock(QPainter& p, const QRect& area, const PageLook& look) {
    p.fillRect(area, kField);
    menuHeader(p, QRect(area.left(), area.top(), area.width(), kMenuHeader), look, stHot);
    p.setPen(kDarkBlue);
    p.drawRect(area.adjusted(0, 0, -1, -1));
}

void pageHeader(QPainter& p, const QRect& area, const PageLook& look) {
    QLinearGradient g(area.topLeft(), area.topRight());
    g.setColorAt(0, kDarkBlue);
    g.setColorAt(1, kWindow);
    p.fillRect(area, g);
    iconTile(p, QPoint(area.left() + 9, area.top() + (area.height() - 24) / 2),
             renderIcon(QLatin1String(look.icon), 24));
    p.setPen(Qt::white);
    p.setFont(font(16, true));
    p.drawText(area.adjusted(42, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, QLatin1String(look.title));
}

// A small cutting plan: a stock sheet with parts laid out by guillotine cuts.
void cuttingPlan(QPainter& p, const QRectF& r) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(kDarkBlue, 1));
    p.setBrush(QColor(243, 231, 207));
    p.drawRect(r);
    const QColor part(176, 141, 87);
    p.setBrush(part.lighter(130));
    const double w = r.width(), h = r.height();
    const QRectF parts[] = {
        {0, 0, 0.45, 0.6},    {0, 0.6, 0.45, 0.4},    {0.45, 0, 0.3, 0.5},
        {0.75, 0, 0.25, 0.5}, {0.45, 0.5, 0.35, 0.5},
    };
    for (const QRectF& f : parts)
        p.drawRect(QRectF(r.left() + f.left() * w, r.top() + f.top() * h, f.width() * w, f.height() * h)
                       .adjusted(1, 1, -1, -1));
    p.restore();
}

void topStrip(QPainter& p, const QRect& area) {
    QLinearGradient g(area.topLeft(), area.topRight());
    g.setColorAt(0, kDarkBlue);
    g.setColorAt(1, QColor(60, 130, 150));
    p.fillRect(area, g);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::white);
    p.setFont(font(30, true));
    p.drawText(area.adjusted(16, 0, 0, -14), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Lintaro"));
    p.setFont(font(13, false));
    p.drawText(area.adjusted(18, 30, 0, 0), Qt::AlignVCenter | Qt::AlignLeft,
               QStringLiteral("Cutting plans for boards, glass, sheet metal and plastics"));
}

void logo(QPainter& p, const QRect& area) {
    p.fillRect(area, kWindow);
    cuttingPlan(p, QRectF(area.left() + 6, area.top() + 10, 52, 36));
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(kDarkBlue);
    p.setFont(font(20, true));
    p.drawText(area.adjusted(66, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Lintaro"));
}

void printBanner(QPainter& p, const QRect& area, const QString& icon, const QString& title) {
    QLinearGradient g(area.topLeft(), area.topRight());
    g.setColorAt(0, kDarkBlue);
    g.setColorAt(1, kWindow);
    p.fillRect(area, g);
    iconTile(p, QPoint(area.left() + 9, area.top() + (area.height() - kIcon) / 2), renderIcon(icon, kIcon));
    p.setPen(Qt::white);
    p.setFont(font(16, true));
    p.drawText(area.adjusted(50, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, title);
}

void bullet(QPainter& p, const QRect& area) {
    p.fillRect(area, kField);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(kDarkBlue);
    p.drawEllipse(QRectF(area).adjusted(2, 2, -2, -2));
}

void tipBackground(QPainter& p, const QRect& area) {
    p.fillRect(area, kCell);
    p.setPen(QColor(153, 153, 153));
    p.drawRect(area.adjusted(0, 0, -1, -1));
}

} // namespace

void SetIconThemeFolder(const QString& folder) {
    g_themeDir = folder;
}

void AddWindowPictures(TPictureSources& sources) {
    // Icon buttons: the letter after the command only tells the button's place on its page; the
    // picture is the command's.
    const std::map<QString, QString> icons = {
        {"IconNew", "document-new"},
        {"IconOpen", "document-open"},
        {"IconSave", "document-save"},
        {"IconSaveAs", "document-save-as"},
        {"IconPrint", "document-print"},
        {"IconSaveAsCSV", "document-export"},
        {"IconLoadAsCSV", "document-import"},
        {"IconDelete", "edit-delete"},
        {"IconDeleteAll", "edit-delete-shred"},
        {"IconPagePrev", "go-previous"},
        {"IconPageNext", "go-next"},
        {"IconZoomOut", "zoom-out"},
        {"IconZoomIn", "zoom-in"},
        {"IconLoadAsBMP", "image-bmp"},
        {"IconArrowLeft", "arrow-left"},
        {"IconArrowRight", "arrow-right"},
        {"IconArrowUp", "arrow-up"},
        {"IconArrowDown", "arrow-down"},
        {"Tip", "help-about"},
    };
    const char* const buttons[] = {
        "IconNewE",
        "IconNewF",
        "IconOpenD",
        "IconOpenE",
        "IconSaveC",
        "IconSaveD",
        "IconSaveF",
        "IconSaveAsB",
        "IconSaveAsC",
        "IconPrintA",
        "IconPrintB",
        "IconPrintC",
        "IconPrintE",
        "IconSaveAsCSVE",
        "IconLoadAsCSVD",
        "IconDeleteA",
        "IconDeleteB",
        "IconDeleteAllA",
        "IconPagePrevD",
        "IconPagePrevE",
        "IconPageNextC",
        "IconPageNextD",
        "IconZoomOutA",
        "IconZoomOutC",
        "IconZoomInB",
        "IconLoadAsBMPC",
        "IconArrowLeft",
        "IconArrowRight",
        "IconArrowUp",
        "IconArrowDown",
        "Tip",
    };
    for (const char* button : buttons) {
        QString name = QLatin1String(button);
        QString base = name;
        if (!icons.count(base))
            base.chop(1); // the place letter
        addThreeStates(sources, name, icons.at(base));
    }
    sources.push_back({QStringLiteral("Tip"), QSize(kButton, kButton), [](QPainter& p, const QRect& a) {
                           iconButton(p, a, QStringLiteral("help-about"), stNormal);
                       }});

    for (const PageLook& look : kPageLooks) {
        const QString page = QLatin1String(look.page);
        for (State state : {stNormal, stHot, stDisabled})
            sources.push_back({QStringLiteral("MenuCollapsed") + page + QString::number(state),
                               QSize(kMenuWidth, kMenuHeader), [look, state](QPainter& p, const QRect& a) {
                                   menuHeader(p, a, look, state);
                               }});
        sources.push_back({QStringLiteral("MenuExpanded") + page,
                           QSize(kMenuWidth, kMenuHeader + 10 + look.commands * kMenuLine + 8),
                           [look](QPainter& p, const QRect& a) { expandedBlock(p, a, look); }});
        sources.push_back({QStringLiteral("Top") + page, QSize(600, 36),
                           [look](QPainter& p, const QRect& a) { pageHeader(p, a, look); }});
    }
    sources.push_back({QStringLiteral("Top"), QSize(800, 64), topStrip});
    sources.push_back({QStringLiteral("Logo"), QSize(170, 56), logo});
    sources.push_back({QStringLiteral("TopPrint"), QSize(600, 44), [](QPainter& p, const QRect& a) {
                           printBanner(p, a, QStringLiteral("document-print-preview"),
                                       QStringLiteral("Print preview"));
                       }});
    sources.push_back({QStringLiteral("TopPrintSetup"), QSize(600, 44), [](QPainter& p, const QRect& a) {
                           printBanner(p, a, QStringLiteral("document-print"),
                                       QStringLiteral("Printer, pages and copies"));
                       }});
    sources.push_back({QStringLiteral("Icon"), QSize(kIcon, kIcon), [](QPainter& p, const QRect& a) {
                           p.fillRect(a, kWindow);
                           cuttingPlan(p, QRectF(a).adjusted(1, 5, -2, -5));
                       }});
    sources.push_back({QStringLiteral("Bullet"), QSize(9, 9), bullet});
    sources.push_back({QStringLiteral("TipBkg"), QSize(170, 160), tipBackground});
}

} // namespace lintaro::tools
