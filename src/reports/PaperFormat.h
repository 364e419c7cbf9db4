#pragma once
// Paper formats: the 18 built-in sizes, then the user's own from the engine settings file (section
// "FormatyPapiru"), and the printable area of a page set-up. Sizes in hundredths of an inch.
#include <QRect>
#include <QSize>
#include <QString>
#include <vector>

namespace lintaro {

struct TPageSetup;

struct TFormatPapiru {
    QString Name; // at most 31 characters
    int Width = 826;
    int Height = 1169;
    bool operator==(const TFormatPapiru&) const = default;
};

class TListFormatu {
public:
    static constexpr int kBuiltIn = 18;
    static constexpr int kMaxName = 31;

    // The built-in formats only.
    TListFormatu();

    int Count() const { return static_cast<int>(items_.size()); }
    const TFormatPapiru& Item(int index) const { return items_[static_cast<size_t>(index)]; }
    bool IsBuiltIn(int index) const { return index < kBuiltIn; }
    // A new user format, "Uživat. (210 x 297 mm)" 826 × 1169 unless given; returns its index.
    int AddUser(const TFormatPapiru& format = NewUserFormat());
    // False for a built-in format or an index out of range.
    bool SetUser(int index, const TFormatPapiru& format);
    bool DeleteUser(int index);
    // The first format of that size; without one, "uživ. formát" of that size is appended. Its index.
    int FindOrAppend(int width, int height);

    // Reads the user formats of the settings file (missing numbers read as 0); false when the file
    // exists but cannot be read. Without the file there are no user formats.
    bool Load(const QString& iniFile);
    // Writes "PocetFormatu" and exactly the user formats as "Format1", …; the rest of the file stays.
    bool Save(const QString& iniFile) const;

    static TFormatPapiru NewUserFormat();

private:
    std::vector<TFormatPapiru> items_;
};

// The engine settings file: an absolute name as it stands, else the name in the user's config folder
// ("<config>/Lintaro/VadeZIR.ini").
QString EngineSettingsPath(const QString& iniFileName);

// The paper as it lies: width × height, exchanged in landscape.
QSize PaperSize(const TPageSetup& page);
// Printable width and height: page size minus the margins, width and height exchanged in landscape.
int PrintableWidth(const TPageSetup& page);
int PrintableHeight(const TPageSetup& page);
// (left margin, top margin) with the printable size.
QRect PrintableRect(const TPageSetup& page);

} // namespace lintaro
