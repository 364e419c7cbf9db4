#pragma once
// The two banner strips of the main window and their links. The folder "BANNERS" beside the program
// holds the bottom banners ("BottomBanner*.*"), the right banners ("RightBanner*.*") and "Links.TXS",
// whose lines "file name=hint|address" give a banner its hint and the address a click opens.
//
// Banners are taken in the order of their file names, compared without regard to case: the order in
// which a Linux file system lists a folder is not stable, and a strip should rotate the same way on
// every machine. Files that are not pictures are left out; a missing folder gives empty strips.
#include <QImage>
#include <QString>
#include <QStringList>

#include <vector>

namespace lintaro {

constexpr double kBottomBannerInterval = 43;
constexpr double kRightBannerInterval = 23;

struct TBanner {
    QString fileName; // without folder
    QImage picture;
};

class TBannerStrip {
public:
    // Replaces the pictures with the readable files of the folder matching the pattern.
    void Load(const QString& folder, const QString& pattern);
    void SetBanners(std::vector<TBanner> banners) { banners_ = std::move(banners); }

    int Count() const { return static_cast<int>(banners_.size()); }
    const TBanner& Banner(int index) const { return banners_[index]; }
    // The index of the next picture to show (persisted between runs).
    int Counter() const { return counter_; }
    void SetCounter(int counter) { counter_ = counter; }

    // The index of the picture to show now, after which the counter names the next one; -1 when
    // the strip is empty. A counter outside the pictures starts again at the first.
    int Rotate();
    // The picture shown by the last rotation, or nullptr.
    const TBanner* Shown() const;

private:
    std::vector<TBanner> banners_;
    int counter_ = 0;
};

class TLinkList {
public:
    // Reads "Links.TXS"-style lines; a missing file leaves the list empty.
    void Load(const QString& fileName);
    void SetLines(const QStringList& lines) { lines_ = lines; }
    // Whether the banner's file name has a non-empty line.
    bool HasLink(const QString& fileName) const;
    // The hint (field 0) and the address (field 1) of a banner's file name; empty when it has none.
    QString Hint(const QString& fileName) const;
    QString Address(const QString& fileName) const;

private:
    QStringList lines_;
};

} // namespace lintaro
