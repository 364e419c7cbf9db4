#include "foundation/Pictures.h"

#include "foundation/BarRecord.h"
#include "foundation/TextFile.h"
#include "platform/PictureLoader.h"

#include <QRect>
#include <QRegularExpression>
#include <algorithm>

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
        // Only what lies on the strip can be copied: the piece is clipped to it (widened, so that a
        // position far out does not wrap round), and a piece wholly outside is an empty picture.
        QImage picture;
        if (width > 0 && height > 0) {
            const qint64 x0 = std::max<qint64>(left, 0);
            const qint64 y0 = std::max<qint64>(top, 0);
            const qint64 x1 = std::min<qint64>(qint64(left) + width, strip.width());
            const qint64 y1 = std::min<qint64>(qint64(top) + height, strip.height());
            if (x1 > x0 && y1 > y0)
                picture = strip.copy(QRect(int(x0), int(y0), int(x1 - x0), int(y1 - y0)));
        }
        if (Add(name, picture))
            ++added;
    }
    return added;
}

} // namespace lintaro
