#pragma once
// The pictures of a report: named pictures through the report's callbacks or files beside the
// template, the list of names the designer offers, and the background picture of the pages.
#include <QHash>
#include <QImage>
#include <QRect>
#include <QStringList>

QT_BEGIN_NAMESPACE
class QPainter;
QT_END_NAMESPACE

namespace lintaro {

class TSestava;
struct TSiReportElement;

// The picture of that name: OnNactiObraz when it finds it, else the file of that name in the
// template file's folder, else the name as a path; empty when none loads. OnPreparePicture may then
// adjust it for element (a picture element, or a stand-in for the background). With `files`, a file
// is decoded once: every later element of that name shares the picture (a logo in a page head is
// then one picture on every page, not a copy per page).
using TReportPictureFiles = QHash<QString, QImage>;
QImage LoadReportPicture(TSestava& report, const QString& name, const TSiReportElement& element,
                         TReportPictureFiles* files = nullptr);

// The picture names offered in the designer: OnNactiSeznamObrazu when assigned, else the files in the
// template file's folder that the registered picture readers take, sorted by name.
QStringList ReportPictureNames(TSestava& report);

// The background of the pages. The report's Background and PrintBackground apply unless the
// template's background line has a picture of its own; then that line's picture, print flag and box.
struct TPageBackground {
    QImage Picture;
    QRect Box;          // on the paper from its top left corner, hundredths of an inch
    bool Print = false; // whether the picture reaches the printer (and the PDF, its stand-in)
    bool IsEmpty() const { return Picture.isNull(); }
};

TPageBackground ResolveBackground(TSestava& report);

// Draws the picture stretched into its box; painter in hundredths of an inch from the paper's corner.
void DrawBackground(QPainter& painter, const TPageBackground& background);

} // namespace lintaro
