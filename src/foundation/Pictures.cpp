#include "foundation/Pictures.h"

#include "foundation/BarRecord.h"
#include "foundation/TextFile.h"
#include "platform/PictureLoader.h"

#include <QRect>
#include <QRegularExpression>

namespace lintaro {

namespace {} // namespace

bool TPictureList::Add(const QString& name, const QImage& image) {
    const QString key = name.toUpper();
    if (pictures_.contains(key))
        return false;
    pictures_.insert(key, image);
    return true;
}

QImage TPictureList::Find(const QString& name) const {
    return pictures_.value(name.toUpper());
}

bool TPictureList::Contains(const QString& name) const {
    return pictures_.contains(name.toUpper());
}

int TPictureList::LoadFromFiles(const QString& stripFile, const QString& catalogueFile) {
    const QImage strip = LoadPictureFile(stripFile);
    if (strip.isNull())
        return 0;
    QString catalogue;
    if (!ReadTextFile(catalogueFile, catalogue))
        return 0;
    int added = 0;
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    for (const QString& line : catalogue.split(lineBreak)) {
        if (line.trimmed().isEmpty())
            continue;
        const QString record = NormalizeBarList(QString(line).replace(u';', u'|'));
        const QString name = GetBarField(record, 0);
        const int left = GetBarFieldInt(record, 1);
        const int top = GetBarFieldInt(record, 2);
        const int width = GetBarFieldInt(record, 3);
        const int height = GetBarFieldInt(record, 4);
        QImage picture;
        if (width > 0 && height > 0)
            picture = strip.copy(QRect(left, top, width, height));
        if (Add(name, picture))
            ++added;
    }
    return added;
}

} // namespace lintaro
