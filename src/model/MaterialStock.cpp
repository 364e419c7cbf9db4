#include "model/MaterialStock.h"

#include "model/CuttingSheet.h"
#include "model/DimOut.h"
#include "model/Dimension.h"
#include "model/Material.h"
#include "model/Sheets.h"

namespace lintaro {

namespace {

bool sameMaterial(const TSheets& sheets, const TMaterial& material) {
    return sheets.State() == ssCalculatedOK && sheets.Material() &&
           sheets.Material()->Caption() == material.Caption();
}

TDimensionOrientation dimOrientation(TCSDimOutOrientation orientation) {
    return orientation == csdooX ? doX : orientation == csdooY ? doY : doNone;
}

TDimensionOrientation crossed(TCSDimOutOrientation orientation) {
    return orientation == csdooY ? doX : orientation == csdooX ? doY : doNone;
}

TDimension* findRestDimension(const TDimensionList& dims, const TCSDimOut& rest) {
    for (int i = 0; i < dims.ItemCount(); ++i) {
        TDimension* dim = dims.Dimension(i);
        if (dim->StoredX() == rest.X() && dim->StoredY() == rest.Y() &&
            dim->Orientation() == dimOrientation(rest.Orientation()))
            return dim;
    }
    for (int i = 0; i < dims.ItemCount(); ++i) {
        TDimension* dim = dims.Dimension(i);
        if (dim->StoredX() == rest.Y() && dim->StoredY() == rest.X() &&
            dim->Orientation() == crossed(rest.Orientation()))
            return dim;
    }
    return nullptr;
}

void finish(TDimensionList& dims) {
    if (!dims.ItemFocused() && dims.ItemCount() > 0)
        dims.SetItemFocused(dims.Item(0));
    dims.Sort();
}

} // namespace

bool CanTakeOffDimensions(const TSheets& sheets, const TMaterial& material) {
    return !sheets.DimsTakedOff() && sameMaterial(sheets, material);
}

void TakeOffDimensions(TSheets& sheets, TMaterial& material) {
    TDimensionList* dims = material.Dims();
    const TCuttingSheetList* result = sheets.CuttingSheets();
    for (int i = 0; result && i < result->ItemCount(); ++i) {
        const TCuttingSheet* sheet = result->Sheet(i);
        TDimension* dim = nullptr;
        for (int d = 0; d < dims->ItemCount() && !dim; ++d)
            if (dims->Dimension(d)->ID() == sheet->Dimension()->ID())
                dim = dims->Dimension(d);
        if (!dim)
            continue;
        dim->SetCount(dim->Count() < sheet->Count() ? 0 : dim->Count() - sheet->Count());
        if (dim->Count() == 0 && dim->IsRest())
            dims->ItemDelete(dim);
    }
    finish(*dims);
    sheets.SetDimsTakedOff(true);
}

bool CanReturnRests(const TSheets& sheets, const TMaterial& material) {
    return !sheets.RestReturned() && sameMaterial(sheets, material);
}

void ReturnRests(TSheets& sheets, TMaterial& material) {
    TDimensionList* dims = material.Dims();
    const TCuttingSheetList* result = sheets.CuttingSheets();
    for (int i = 0; result && i < result->ItemCount(); ++i) {
        const TCuttingSheet* sheet = result->Sheet(i);
        TCSDimOutList* rests = sheet->Rests();
        for (int r = 0; r < rests->ItemCount(); ++r) {
            auto* rest = static_cast<TCSDimOut*>(rests->Item(r));
            TDimension* dim = findRestDimension(*dims, *rest);
            if (!dim) {
                dim = new TDimension(nullptr);
                dim->SetCount(0);
                dims->ItemInsert(dim);
            }
            rest->AssignToDimension(*dim, sheet->Count());
        }
    }
    finish(*dims);
    sheets.SetRestReturned(true);
}

} // namespace lintaro
