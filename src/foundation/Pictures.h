#pragma once
// The program's named pictures, cut from one bitmap strip by a catalogue of
// "name;left;top;width;height" lines. Names are matched without regard to case; the first catalogue
// line of a name wins.
#include <QImage>
#include <QMap>
#include <QString>
#include <QStringList>

namespace lintaro {

class TPictureList {
public:
    // Adds the pictures of the catalogue; stops silently at the first failure (missing or broken
    // strip or catalogue), keeping what was loaded so far. Returns the number of pictures added.
    int LoadFromFiles(const QString& stripFile, const QString& catalogueFile);
    // Adds one picture unless its name is taken; false when it was taken.
    bool Add(const QString& name, const QImage& image);
    // A null image when there is none of that name.
    QImage Find(const QString& name) const;
    bool Contains(const QString& name) const;
    int Count() const { return static_cast<int>(pictures_.size()); }
    QStringList Names() const { return pictures_.keys(); }
    void Clear() { pictures_.clear(); }

private:
    QMap<QString, QImage> pictures_; // by upper-cased name, hence name-sorted
};

} // namespace lintaro
