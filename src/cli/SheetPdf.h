#pragma once
// Cutting-sheet drawings as a PDF for the shop floor: one A4 page per drawing, turned to the
// drawing's shape and scaled to fill the page inside a 10 mm margin. Written through QPdfWriter
// (no widgets) and saved atomically.
#include <QList>
#include <QPicture>
#include <QString>

namespace lintaro::cli {

// False with the reason in *error when nothing could be drawn or the file cannot be written.
bool WriteSheetsPdf(const QList<QPicture>& pictures, const QString& path, const QString& title,
                    QString* error);

} // namespace lintaro::cli
