#include "calc/LowerBound.h"

#include "foundation/NumberFormat.h"
#include "foundation/Program.h"
#include "foundation/TextFormat.h"
#include "foundation/Units.h"
#include "model/CuttingSheet.h"
#include "model/DimOut.h"
#include "model/Dimension.h"
#include "model/Material.h"
#include "model/Part.h"
#include "model/PartIn.h"
#include "model/Sheets.h"
#include "platform/Locale.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <functional>

namespace lintaro {

namespace {

__extension__ typedef __int128 Wide;

const QString kSection = QStringLiteral("TSheets");

// The search lets a piece fit where it is longer than the room by a rounding margin of 1 in 19 999;
// the bound gives the sheet that margin, so that it stays below every plan the search can make.
int64_t withFitMargin(int64_t length) {
    return (length * 20000 + 19998) / 19999;
}

double squareMetres(Wide rawSquareMm) {
    return double(rawSquareMm) / 1e14;
}

// A dual feasible function on lengths up to L: any lengths that fit side by side along L still do
// after the mapping, against the function's own capacity.
//  - Threshold e (at most half the length): lengths above L - e count as L, lengths below e as
//    nothing, the others as they are; capacity L.
//  - Rounding k (1, 2, …): a length v counts k·v when (k + 1)·v is a multiple of L, else
//    ⌊(k + 1)·v / L⌋·L, capacity k·L (the integer form of a length rounded down to the
//    k-th parts of the sheet). It counts the pieces of which only k fit along the sheet as whole
//    k-th parts, which the thresholds do not see.
struct Dff {
    bool rounding = false;
    int64_t param = 0; // e, or k
};

Wide mapped(int64_t v, int64_t length, const Dff& f) {
    if (f.rounding) {
        const Wide scaled = Wide(f.param + 1) * v;
        return scaled % length == 0 ? Wide(f.param) * v : (scaled / length) * length;
    }
    if (v > length - f.param)
        return length;
    if (v < f.param)
        return 0;
    return v;
}

Wide capacity(int64_t length, const Dff& f) {
    return f.rounding ? Wide(f.param) * length : Wide(length);
}

// Rounding functions compared on each side besides the thresholds.
constexpr int kRoundings = 10;

// The functions compared on one side: at most `limit` thresholds of the candidates, spread over
// them, and 0 (the plain area) always; then the rounding functions.
std::vector<Dff> functionsFor(std::vector<int64_t> candidates, int64_t length, size_t limit) {
    std::vector<Dff> out{{false, 0}};
    std::sort(candidates.begin(), candidates.end());
    candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
    std::erase_if(candidates, [&](int64_t v) { return v <= 0 || 2 * v > length; });
    if (candidates.size() <= limit) {
        for (int64_t e : candidates)
            out.push_back({false, e});
    } else {
        for (size_t i = 0; i < limit; ++i)
            out.push_back({false, candidates[i * candidates.size() / limit]});
        out.push_back({false, candidates.back()});
    }
    for (int k = 1; k <= kRoundings; ++k)
        out.push_back({true, k});
    return out;
}

struct Lay {
    int64_t w, h; // with the kerf
};

// The bound in sheets of one stock size for the pieces that fit on it.
int sheetsOnOneSize(const std::vector<TBoundPiece>& pieces, const TBoundStock& stock, int64_t kerf) {
    const int64_t W = withFitMargin(stock.x + kerf);
    const int64_t H = withFitMargin(stock.y + kerf);
    struct Item {
        std::vector<Lay> lays;
        int count;
    };
    std::vector<Item> items;
    std::vector<int64_t> widths, heights;
    for (const TBoundPiece& p : pieces) {
        Item item{{}, p.count};
        if (StraightAllowed(p.orientation, stock.grain) && p.x + kerf <= W && p.y + kerf <= H)
            item.lays.push_back({p.x + kerf, p.y + kerf});
        if (TurnedAllowed(p.orientation, stock.grain) && p.y + kerf <= W && p.x + kerf <= H)
            item.lays.push_back({p.y + kerf, p.x + kerf});
        if (item.lays.empty() || p.count <= 0)
            continue;
        // Thresholds at the pieces' small lengths drop those below them; just above the room a
        // long piece leaves, they make it the whole length.
        for (const Lay& l : item.lays) {
            widths.push_back(2 * l.w > W ? W - l.w + 1 : l.w);
            heights.push_back(2 * l.h > H ? H - l.h + 1 : l.h);
        }
        items.push_back(std::move(item));
    }
    if (items.empty())
        return 0;
    const std::vector<Dff> ew = functionsFor(widths, W, 48);
    const std::vector<Dff> eh = functionsFor(heights, H, 48);
    int best = 0;
    for (const Dff& a : ew)
        for (const Dff& b : eh) {
            Wide sum = 0;
            for (const Item& item : items) {
                Wide least = -1;
                for (const Lay& l : item.lays) {
                    const Wide v = mapped(l.w, W, a) * mapped(l.h, H, b);
                    if (least < 0 || v < least)
                        least = v;
                }
                sum += least * item.count;
            }
            const Wide sheet = capacity(W, a) * capacity(H, b);
            best = std::max(best, int((sum + sheet - 1) / sheet));
        }
    return best;
}

bool fitsOn(const TBoundPiece& p, const TBoundStock& s) {
    return (StraightAllowed(p.orientation, s.grain) && p.x <= withFitMargin(s.x) &&
            p.y <= withFitMargin(s.y)) ||
           (TurnedAllowed(p.orientation, s.grain) && p.y <= withFitMargin(s.x) && p.x <= withFitMargin(s.y));
}

// A piece that lies, on every stock and in every way it may lie there, over half the sheet's
// length and over half its width: two such pieces never share a sheet, since they can be neither
// beside nor above each other.
bool alwaysAlone(const TBoundPiece& p, const std::vector<TBoundStock>& sizes, int64_t kerf) {
    for (const TBoundStock& s : sizes) {
        const int64_t W = withFitMargin(s.x + kerf);
        const int64_t H = withFitMargin(s.y + kerf);
        const int64_t w = p.x + kerf, h = p.y + kerf;
        if (StraightAllowed(p.orientation, s.grain) && w <= W && h <= H && (2 * w <= W || 2 * h <= H))
            return false;
        if (TurnedAllowed(p.orientation, s.grain) && h <= W && w <= H && (2 * h <= W || 2 * w <= H))
            return false;
    }
    return true;
}

struct TCover {
    Wide area;  // raw mm²
    Wide gives; // raw mm²: the sheet with the kerf added, as the pieces count
    int count;  // −1: no limit
    int least;  // sheets the size must give in any case
};

// The least area of whole sheets, at least `least` and at most `count` of each size, whose room
// (`gives`) reaches `need`: a search over the counts, the largest size first. Should the sizes be
// too many to count through, the sheets each size must give, or the need itself, still bound the
// area.
Wide leastCover(std::vector<TCover> sizes, Wide need) {
    std::sort(sizes.begin(), sizes.end(), [](const TCover& a, const TCover& b) { return a.area > b.area; });
    Wide floor = 0, floorGives = 0;
    for (const TCover& c : sizes) {
        floor += c.area * c.least;
        floorGives += c.gives * c.least;
    }
    if (floorGives >= need)
        return floor;
    // Beyond what the need asks, a size adds nothing: the count is capped there (and at a million
    // sheets, past which the search would not end anyway).
    std::vector<int> most;
    for (const TCover& c : sizes) {
        const Wide enough = std::min<Wide>(Wide(c.least) + (need + c.gives - 1) / c.gives, 1000000);
        most.push_back(c.count < 0 ? int(enough) : std::max(c.least, int(std::min<Wide>(c.count, enough))));
    }
    // What the smaller sizes can add at most, so that a count that cannot reach the need ends early.
    std::vector<Wide> reach(sizes.size() + 1, 0), reachArea(sizes.size() + 1, 0);
    for (size_t i = sizes.size(); i-- > 0;) {
        reach[i] = reach[i + 1] + sizes[i].gives * most[i];
        reachArea[i] = reachArea[i + 1] + sizes[i].area * most[i];
    }
    Wide best = reach[0] >= need ? reachArea[0] : -1;
    int64_t visits = 0;
    constexpr int64_t kVisits = 200000;
    const std::function<void(size_t, Wide, Wide)> step = [&](size_t i, Wide sum, Wide area) {
        if (++visits > kVisits || (best >= 0 && area >= best))
            return;
        if (sum >= need) {
            best = area;
            return;
        }
        if (i == sizes.size() || sum + reach[i] < need)
            return;
        for (int n = most[size_t(i)]; n >= sizes[i].least; --n)
            step(i + 1, sum + sizes[i].gives * n, area + sizes[i].area * n);
    };
    step(0, 0, 0);
    if (best < 0 || visits > kVisits) {
        // Every size's area is at least its room times the smallest ratio of the two.
        Wide byNeed = need;
        for (const TCover& c : sizes)
            byNeed = std::min(byNeed, need * c.area / c.gives);
        return std::max(floor, byNeed);
    }
    return best;
}

// The room, with the kerf, of the smallest sheet that takes the piece.
Wide smallestStockRoom(const TBoundPiece& p, const std::vector<TBoundStock>& sizes, int64_t kerf) {
    Wide least = -1;
    for (const TBoundStock& s : sizes)
        if (fitsOn(p, s) && (least < 0 || Wide(s.x + kerf) * (s.y + kerf) < least))
            least = Wide(s.x + kerf) * (s.y + kerf);
    return std::max<Wide>(least, 0);
}

} // namespace

TLowerBound ComputeLowerBound(const std::vector<TBoundPiece>& pieces, const std::vector<TBoundStock>& stocks,
                              int64_t kerf) {
    TLowerBound b;
    if (stocks.empty())
        return b;
    // Stocks of one size pool their sheets; one without a limit lifts it for all.
    std::vector<TBoundStock> sizes;
    for (const TBoundStock& s : stocks) {
        if (s.count == 0 || s.x <= 0 || s.y <= 0)
            continue;
        auto same = std::find_if(sizes.begin(), sizes.end(), [&](const TBoundStock& t) {
            return t.x == s.x && t.y == s.y && t.grain == s.grain;
        });
        if (same == sizes.end())
            sizes.push_back(s);
        else
            same->count = same->count < 0 || s.count < 0 ? -1 : same->count + s.count;
    }
    if (sizes.empty())
        return b;
    // Pieces no stock can take are never placed; they do not count.
    std::vector<TBoundPiece> placeable;
    for (const TBoundPiece& p : pieces)
        if (p.count > 0 &&
            std::any_of(sizes.begin(), sizes.end(), [&](const TBoundStock& s) { return fitsOn(p, s); }))
            placeable.push_back(p);
    if (placeable.empty())
        return b;
    b.valid = true;
    if (sizes.size() == 1) {
        const TBoundStock& s = sizes.front();
        b.oneSize = true;
        b.sheets = std::max(1, sheetsOnOneSize(placeable, s, kerf));
        b.stockArea = squareMetres(Wide(s.x) * s.y * b.sheets);
        return b;
    }
    // Several sizes: the stock used holds at least the parts' area (less the fit margin), and at
    // least a sheet of its own for every large piece, the smallest that takes it. As with one size,
    // the kerf is added to every piece and to every sheet: the cut after a piece is room it takes.
    Wide area = 0;
    for (const TBoundPiece& p : placeable)
        area += Wide(p.x + kerf) * (p.y + kerf) * p.count;
    const Wide byArea = area * 19999 * 19999 / (Wide(20000) * 20000);
    Wide large = 0;
    for (const TBoundPiece& p : placeable)
        if (alwaysAlone(p, sizes, kerf))
            large += smallestStockRoom(p, sizes, kerf) * p.count;
    // Pieces that fit on one size only need their sheets of it whatever the others hold.
    std::vector<TCover> cover;
    for (size_t i = 0; i < sizes.size(); ++i) {
        std::vector<TBoundPiece> own;
        for (const TBoundPiece& p : placeable)
            if (fitsOn(p, sizes[i]) && std::none_of(sizes.begin(), sizes.end(), [&](const TBoundStock& s) {
                    return &s != &sizes[i] && fitsOn(p, s);
                }))
                own.push_back(p);
        cover.push_back({Wide(sizes[i].x) * sizes[i].y, Wide(sizes[i].x + kerf) * (sizes[i].y + kerf),
                         sizes[i].count, own.empty() ? 0 : sheetsOnOneSize(own, sizes[i], kerf)});
    }
    b.stockArea = squareMetres(leastCover(cover, std::max(byArea, large)));
    return b;
}

TLowerBound LowerBoundOf(const TSheets& sheets) {
    std::vector<TBoundPiece> pieces;
    if (TPartList* parts = sheets.OwnerParts()) {
        TCSPartInList types(nullptr);
        for (int i = 0; i < parts->ItemCount(); ++i)
            types.AddPart(parts->Part(i));
        for (int i = 0; i < types.ItemCount(); ++i) {
            const TCSPartIn* t = types.PartIn(i);
            pieces.push_back({t->StoredX().raw(), t->StoredY().raw(), t->Orientation(), t->Count()});
        }
    }
    std::vector<TBoundStock> stocks;
    const TMaterial* material = sheets.Material();
    if (!material)
        return {};
    const TDimensionList* dims = material->Dims();
    const TCuttingSheetList* result = sheets.CuttingSheets();
    for (int i = 0; i < dims->ItemCount(); ++i) {
        const TDimension* d = dims->Dimension(i);
        if (d->IsStopped() || !d->IsValid()) // the empty row the list keeps for a new size
            continue;
        // The sheets a result took are no longer in the count.
        int used = 0;
        for (int k = 0; k < result->ItemCount(); ++k) {
            const TDimension* s = result->Sheet(k)->Dimension();
            if (s->StoredX() == d->StoredX() && s->StoredY() == d->StoredY() && s->IsRest() == d->IsRest())
                used += std::max(0, result->Sheet(k)->Count());
        }
        if (d->Count() <= 0 && !d->IsDefault() && used == 0)
            continue;
        TCSDimOut root;
        root.AssignFromDimension(*d);
        stocks.push_back({root.X().raw(), root.Y().raw(), root.Orientation(),
                          d->IsDefault() ? -1 : std::max(0, d->Count()) + used});
    }
    return ComputeLowerBound(pieces, stocks, material->StoredCutWidth().raw());
}

TBoundGap GapOf(const TLowerBound& bound, int resultSheets, double resultStockArea) {
    TBoundGap g;
    if (!bound.valid)
        return g;
    if (bound.oneSize) {
        g.sheets = std::max(0, resultSheets - bound.sheets);
        g.optimal = g.sheets == 0;
    }
    if (bound.stockArea > 0)
        g.percent = std::max(0.0, 100.0 * (resultStockArea - bound.stockArea) / bound.stockArea);
    if (!bound.oneSize)
        g.optimal = g.percent < 0.005;
    return g;
}

QString BoundReportLine(const TLowerBound& bound, bool complete, int resultSheets, double resultStockArea) {
    if (!bound.valid)
        return {};
    const auto text = [](const char* key) { return GetText(kSection, QString::fromLatin1(key)); };
    QString line =
        bound.oneSize
            ? FormatText(
                  text(bound.sheets == 1 ? "CalculationReportBoundSheet" : "CalculationReportBoundSheets"),
                  {QString::number(bound.sheets)})
            : FormatText(text("CalculationReportBoundArea"),
                         {FormatWithUnit(AreaToUser(Currency::fromValue(bound.stockArea)), 2, AreaUnit())});
    if (!complete)
        return line;
    const TBoundGap gap = GapOf(bound, resultSheets, resultStockArea);
    QString gapText;
    if (gap.optimal)
        gapText = text("CalculationReportGapNone");
    else if (bound.oneSize)
        gapText =
            FormatText(text(gap.sheets == 1 ? "CalculationReportGapSheet" : "CalculationReportGapSheets"),
                       {QString::number(gap.sheets)});
    else
        gapText = FormatText(text("CalculationReportGapPercent"),
                             {FormatThousands(Currency::fromValue(std::ceil(gap.percent * 10) / 10), 1)});
    return line + QStringLiteral("; ") + gapText;
}

TLowerBound BoundFromReport(const QStringList& report) {
    // The shipped format with its argument as the one group to read.
    const auto pattern = [](const char* key) {
        const QString format = GetText(kSection, QString::fromLatin1(key));
        const qsizetype at = format.indexOf(QLatin1String("%s"));
        if (at < 0)
            return QRegularExpression();
        return QRegularExpression(QLatin1Char('^') + QRegularExpression::escape(format.left(at)) +
                                  QStringLiteral("(.+?)") + QRegularExpression::escape(format.mid(at + 2)) +
                                  QStringLiteral("(;|$)"));
    };
    TLowerBound b;
    for (const QString& line : report) {
        for (const char* key : {"CalculationReportBoundSheet", "CalculationReportBoundSheets"}) {
            const QRegularExpressionMatch m = pattern(key).match(line);
            bool ok = false;
            const int sheets = m.hasMatch() ? m.captured(1).toInt(&ok) : 0;
            if (ok && sheets > 0) {
                b.valid = b.oneSize = true;
                b.sheets = sheets;
                b.stockArea = 0; // the sheet's size is the result's
                return b;
            }
        }
        const QRegularExpressionMatch m = pattern("CalculationReportBoundArea").match(line);
        if (!m.hasMatch())
            continue;
        QString number = m.captured(1);
        number.remove(AreaUnit());
        number.remove(Locale::thousandsSeparator());
        number.remove(u' ');
        number.replace(Locale::decimalSeparator(), u'.');
        bool ok = false;
        const double userArea = number.toDouble(&ok);
        if (ok && userArea > 0) {
            b.valid = true;
            b.stockArea = double(AreaFromUser(Currency::fromValue(userArea)).toValue());
            return b;
        }
    }
    return b;
}

} // namespace lintaro
