#pragma once
// Booking a finished calculation against the material's stock: taking the used sheets off the
// counts, and returning the reusable rests as dimensions. Each may be done once per result, and
// only while the window's material is the one the result was calculated with (same caption).
namespace lintaro {

class TMaterial;
class TSheets;

bool CanTakeOffDimensions(const TSheets& sheets, const TMaterial& material);
// Lowers the count of every dimension the result used by its sheets' counts (not below 0); a rest
// left with no pieces is deleted. Sorts the dimensions and marks the result as taken off.
void TakeOffDimensions(TSheets& sheets, TMaterial& material);

bool CanReturnRests(const TSheets& sheets, const TMaterial& material);
// Adds every rest of every sheet, times the sheet's count, to a dimension of the same size and
// grain (or the crossed size with crossed grain), made when none exists. Sorts the dimensions and
// marks the rests as returned.
void ReturnRests(TSheets& sheets, TMaterial& material);

} // namespace lintaro
