#include "reports/ReportPictures.h"

#include "reports/PaperFormat.h"
#include "reports/Sestava.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <algorithm>

namespace lintaro {

namespace {

QString templateFolder(TSestava& report) {
    const QString path = report.TemplatePath();
    return path.isEmpty() ? QString() : QFileInfo(path).absolutePath();
}

} // namespace

QImage LoadReportPicture(TSestava& report, const QString& name, const TSiReportElement& element,
                         TReportPictureFiles* files) {
    QImage picture;
    if (!(report.OnNactiObraz && report.OnNactiObraz(report, name, picture)) && !name.isEmpty()) {
        const auto known = files ? files->constFind(name) : TReportPictureFiles::const_iterator();
        if (files && known != files->cend()) {
            picture = *known;
        } else {
            picture = QImage();
            const QString folder = templateFolder(report);
            if (folder.isEmpty() || !picture.load(folder + u'/' + name))
                picture.load(name);
            if (files)
                files->insert(name, picture);
        }
    }
    if (report.OnPreparePicture)
        report.OnPreparePicture(report, element, picture);
    return picture;
}

QStringList ReportPictureNames(TSestava& report) {
    QStringList names;
    if (report.OnNactiSeznamObrazu) {
        report.OnNactiSeznamObrazu(report, names);
        return names;
    }
    const QString folder = templateFolder(report);
    if (folder.isEmpty())
        return names;
    QStringList patterns;
    for (const QByteArray& format : QImageReader::supportedImageFormats())
        patterns << QStringLiteral("*.") + QString::fromLatin1(format);
    // Upper-case extensions count too: files from other systems often have them.
    names = QDir(folder).entryList(patterns, QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase);
    return names;
}

TPageBackground ResolveBackground(TSestava& report) {
    const TBackgroundSettings& own = report.BackgroundSettings;
    const QString name = own.OwnBackground ? own.PictureName : report.Background;
    TPageBackground background;
    background.Print = own.OwnBackground ? own.PrintBackground : report.PrintBackground;
    const TPageSetup& page = report.PageSetup;
    const int paperWidth = PaperSize(page).width();
    const int paperHeight = PaperSize(page).height();
    background.Box = QRect(0, 0, paperWidth, paperHeight);
    if (own.OwnBackground && own.OwnBox)
        background.Box = QRect(own.Left, own.Top, own.Width > 0 ? own.Width : paperWidth,
                               own.Height > 0 ? own.Height : paperHeight);
    if (name.isEmpty())
        return background;
    TSiReportElement element;
    element.Kind = ekPicture;
    element.Left = background.Box.left();
    element.Top = background.Box.top();
    element.Width = background.Box.width();
    element.Height = background.Box.height();
    element.FileName = name;
    element.DrawFlags = efStretch;
    background.Picture = LoadReportPicture(report, name, element);
    return background;
}

void DrawBackground(QPainter& painter, const TPageBackground& background) {
    if (background.IsEmpty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(background.Box), background.Picture);
    painter.restore();
}

} // namespace lintaro
