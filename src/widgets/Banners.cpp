#include "widgets/Banners.h"

#include "foundation/BarRecord.h"
#include "foundation/Ini.h"
#include "foundation/TextFile.h"
#include "platform/PictureLoader.h"

#include <QDir>
#include <QRegularExpression>

namespace lintaro {

void TBannerStrip::Load(const QString& folder, const QString& pattern) {
    banners_.clear();
    const QDir dir(folder);
    if (folder.isEmpty() || !dir.exists())
        return;
    // Hidden files count; folders and special files do not.
    const QStringList names = dir.entryList({pattern}, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot,
                                            QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names) {
        const QImage picture = LoadPictureFile(dir.filePath(name));
        if (!picture.isNull())
            banners_.push_back({name, picture});
    }
}

int TBannerStrip::Rotate() {
    if (banners_.empty())
        return -1;
    if (counter_ < 0 || counter_ >= Count())
        counter_ = 0;
    return counter_++;
}

const TBanner* TBannerStrip::Shown() const {
    const int shown = counter_ - 1;
    return shown >= 0 && shown < Count() ? &banners_[shown] : nullptr;
}

void TLinkList::Load(const QString& fileName) {
    lines_.clear();
    QString text;
    if (!ReadTextFile(fileName, text))
        return;
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    for (const QString& line : text.split(lineBreak))
        if (!line.isEmpty())
            lines_.append(line);
}

bool TLinkList::HasLink(const QString& fileName) const {
    return !ReadValue(lines_, fileName).isEmpty();
}

QString TLinkList::Hint(const QString& fileName) const {
    return GetBarField(ReadValue(lines_, fileName), 0);
}

QString TLinkList::Address(const QString& fileName) const {
    return GetBarField(ReadValue(lines_, fileName), 1);
}

} // namespace lintaro
