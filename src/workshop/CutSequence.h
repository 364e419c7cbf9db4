#pragma once
// The cut sequence of a cutting plan. A stored result keeps only where each piece lies, so the
// guillotine tree is rebuilt from the pieces and the kerf: a region is split by every straight line
// across it that crosses no piece (lines across X first, then across Y), which gives its strips;
// each strip is split the same way, until every piece stands alone. The cuts are numbered as a panel
// saw makes them: all cuts across the whole sheet first, then the cuts of each strip in turn, then
// the further stages. A plan that no such line can take apart is reported as not guillotine.
//
// Coordinates are stored millimetres as raw fixed-point values (× 10 000); x to the right along the
// sheet's X, y downwards along its Y. The saw's kerf lies behind a cut's line, away from the
// reference edge (the region's left or top edge).
#include <QList>
#include <QString>

#include <cstdint>
#include <vector>

namespace lintaro {

class TCuttingSheet;
class TMaterial;
class TOrder;

namespace workshop {

struct TCutBox {
    int64_t l = 0, t = 0, r = 0, b = 0;
    int64_t Width() const { return r - l; }
    int64_t Height() const { return b - t; }
    bool operator==(const TCutBox&) const = default;
};

enum TCutPieceKind { cpkPart, cpkRest };

struct TCutPiece {
    TCutBox Box;
    TCutPieceKind Kind = cpkPart;
    int Index = 0; // position in the sheet's part or rest list
};

// What the part of the region on the reference side of a cut is once the cut is made.
enum TFreedKind { fkPart, fkRest, fkWaste, fkStrip };

struct TCut {
    int Number = 0; // 1-based, in saw order
    int Stage = 0;  // 1: across the whole sheet
    // True: the line runs along Y at x = Position (the cut goes across X); false: along X at y.
    bool AlongY = true;
    int64_t Position = 0; // the line, absolute on the sheet
    int64_t Fence = 0;  // the line's distance from the region's reference edge, kerf of earlier cuts included
    int64_t Length = 0; // how far the cut runs: the region's extent along the line
    TCutBox Region;     // the region the cut divides
    TCutBox Freed;      // what lies between the previous cut (or the reference edge) and this one
    TFreedKind FreedKind = fkStrip;
    int FreedIndex = -1; // the part or rest, for fkPart and fkRest
};

struct TCutSequence {
    bool Guillotine = true; // false: some region could not be taken apart; Cuts holds those found before
    QList<TCut> Cuts;
    // The first-stage lines (absolute), and their direction, for the dimension chains.
    bool FirstStageAlongY = true;
    QList<int64_t> FirstStageLines;
};

// The sequence for pieces lying in a sheet of sheetX × sheetY. A gap wider than the kerf before a
// piece is trimmed by a cut of its own; waste after the last piece of a region needs no cut.
TCutSequence MakeCutSequence(int64_t sheetX, int64_t sheetY, const std::vector<TCutPiece>& pieces,
                             int64_t kerf);
// The placed parts and the recyclable rests of a sheet, with the given kerf (stored mm).
TCutSequence MakeCutSequence(const TCuttingSheet& sheet, int64_t kerf);

// The material an order's result was cut from: its calculation's, else the order's; may be absent.
const TMaterial* ResultMaterial(const TOrder& order);
// That material's kerf (raw stored mm), the one the result's cuts are made with; 0 without one.
int64_t ResultKerf(const TOrder& order);

} // namespace workshop
} // namespace lintaro
