#pragma once
// The table that ties the window's edits, memos and check boxes to the data: which object, which
// property, and whether the normalised value is read back after the user leaves the control. A check
// box carries the setter and the getter of its Boolean: the text access by name refuses flags.
#include <QString>

#include <functional>
#include <vector>

namespace lintaro {

class TDataComponent;

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
    // Check boxes only: the Boolean goes to the property's setter and is shown from its getter.
    std::function<void(TDataComponent&, bool)> setFlag;
    std::function<bool(const TDataComponent&)> flag;

    bool IsFlag() const { return static_cast<bool>(setFlag); }
};

const std::vector<TBinding>& WindowBindings();
// Whether the row's text is a number (read back, and neither a date, a VAT rate nor an orientation).
bool IsNumberBinding(const TBinding& binding);

} // namespace lintaro
