#pragma once
// The table that ties the window's edits, memos and check boxes to the data: which object, which
// property, and whether the normalised value is read back after the user leaves the control.
#include <QString>

#include <vector>

namespace lintaro {

// The last three are the focused item of the order items, the parts and the dimensions; the
// remaining ones the lists themselves (their totals).
enum TBoundObject {
    boOrder,
    boCustomer,
    boMaterial,
    boSupplier,
    boSetup,
    boSheets,
    boPartList,
    boOrderItem,
    boPart,
    boDim
};

struct TBinding {
    QString control;
    TBoundObject object;
    QString property;
    bool readBack;
};

const std::vector<TBinding>& WindowBindings();

} // namespace lintaro
