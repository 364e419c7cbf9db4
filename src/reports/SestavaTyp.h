#pragma once
// The report core: its template and what the template describes (page set-up, sections, groups,
// user functions, sub-reports), the parameter lines, and the reading and writing of the template
// text. A sub-report is a core of its own, owned by the detail list of the report that contains it.
#include "foundation/Component.h"
#include "reports/OddilSestavy.h"
#include "reports/PolSkup.h"
#include "reports/Predloha.h"
#include "reports/RadekFunkce.h"

#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

namespace lintaro {

// Page set-up of a template, in hundredths of an inch (an A4 page is 826 × 1169).
struct TPageSetup {
    int Orientation = 0; // 0 portrait, 1 landscape
    int Width = 826;
    int Height = 1169;
    int Left = 0;
    int Right = 0;
    int Top = 0;
    int Bottom = 0;
    int Columns = 1;   // "Počet sloupců tisku"
    int ColumnGap = 0; // "Mezera mezi sloupci"
    int Spare = 0;
    bool operator==(const TPageSetup&) const = default;
};

// The designer's grid.
struct TDesignGrid {
    bool CharGrid = false;
    int GridX = 8;
    int GridY = 8;
    int LinePitch = 0;
    int CharPitch = 1;
    bool ShowGrid = false;
    bool SnapToGrid = false;
    // The cell size: the grid, or with a character grid the pitch's cell (10.0, 8.333 or 6.0 wide,
    // 16.667, 25.0 or 33.333 high).
    double CellWidth() const;
    double CellHeight() const;
    bool operator==(const TDesignGrid&) const = default;
};

// The background picture of the pages.
struct TBackgroundSettings {
    bool OwnBackground = false; // use PictureName instead of the report's Background
    bool PrintBackground = false;
    bool OwnBox = false; // the given box instead of the whole paper
    int Left = 0;
    int Top = 0;
    int Width = 0; // 0: the page width
    int Height = 0;
    QString PictureName;
    bool operator==(const TBackgroundSettings&) const = default;
};

class TSestavaTyp;

class TListDetailu {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    TSestavaTyp& Item(int index) { return *items_[static_cast<size_t>(index)]; }
    const TSestavaTyp& Item(int index) const { return *items_[static_cast<size_t>(index)]; }
    // A new sub-report of parent (owned by this list).
    TSestavaTyp& Add(const TSestavaTyp* parent);
    void Clear() { items_.clear(); }

private:
    std::vector<std::unique_ptr<TSestavaTyp>> items_;
};

class TSestavaTyp : public TComponent {
    LINTARO_COMPONENT(TSestavaTyp)
public:
    explicit TSestavaTyp(TComponent* owner = nullptr);

    // Whether this core is a sub-report: it has no page head and no page foot.
    bool IsSubReport() const { return subReport_; }
    // The report that contains this sub-report; none for a main report.
    const TSestavaTyp* ParentReport() const { return parentReport_; }

    const TPredloha& Predloha() const { return predloha_; }
    // Keeps the lines and rebuilds the sections, groups, functions and sub-reports from them.
    virtual void SetPredloha(const TPredloha& predloha);
    // The template as the designer writes it: information lines, functions, sections in order,
    // sub-reports.
    TPredloha WritePredloha() const;

    QString Popis;
    QStringList Parametry;
    int VersionA = 0;
    int VersionB = 0;
    int VersionC = 0;
    TPageSetup PageSetup;
    int Value5 = 0; // kept with the template and written back unchanged
    TDesignGrid Grid;
    TBackgroundSettings BackgroundSettings;

    TListOddilu& Oddily() { return oddily_; }
    const TListOddilu& Oddily() const { return oddily_; }
    TListSkupin& Skupiny() { return skupiny_; }
    const TListSkupin& Skupiny() const { return skupiny_; }
    TListFunkci& Funkce() { return funkce_; }
    const TListFunkci& Funkce() const { return funkce_; }
    TListDetailu& Detaily() { return detaily_; }
    const TListDetailu& Detaily() const { return detaily_; }

    // The data items the template may name: their count (-1 when the core has no data source) and
    // the index of a name (-1 when none). The data-aware report answers them.
    virtual int DataItemCount() const;
    virtual int FindDataItem(const QString& name) const;

    // Whether a font of that name is installed; without a check no font counts as installed, so the
    // code-page suffixes of old font names are always taken off. Process-wide.
    static void SetFontCheck(std::function<bool(const QString&)> check);

    // Sub-reports nested deeper than this are ignored, and so are detail numbers above the limit.
    static constexpr int kMaxDetailDepth = 4;
    static constexpr int kMaxDetails = 100;
    static constexpr int kMaxGroups = 64;

private:
    void parse();
    void readInfoLines(const std::vector<QStringList>& lines);
    void readElement(const QStringList& f, TOddilSestavy& section);
    int depth() const;

    friend class TListDetailu;
    TPredloha predloha_;
    bool subReport_ = false;
    const TSestavaTyp* parentReport_ = nullptr; // the report containing a sub-report
    TListOddilu oddily_;
    TListSkupin skupiny_;
    TListFunkci funkce_;
    TListDetailu detaily_;
};

} // namespace lintaro
