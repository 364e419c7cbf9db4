#pragma once
// Shipped texts with arguments: each "%s" of the format takes the next argument, "%%" is a percent
// sign. Missing arguments give empty texts; surplus ones are ignored.
#include <QString>
#include <QStringList>

namespace lintaro {

QString FormatText(const QString& format, const QStringList& args);

} // namespace lintaro
