#pragma once
// The choices of a workshop pack made from the window: the paper of the cover, diagrams and lists,
// the label stock (two label sheets, two rolls, or no labels) and whether the diagrams show the cut
// sequence. The last choice is the user's own and is kept between runs, so a workshop with a roll
// printer sets it once.
#include "workshop/WorkshopPack.h"

#include <QDialog>

class QCheckBox;
class QComboBox;

namespace lintaro {

class TWorkshopPackDialog : public QDialog {
public:
    explicit TWorkshopPackDialog(QWidget* parent = nullptr);

    workshop::TPackOptions Options() const;
    void SetOptions(const workshop::TPackOptions& options);

    // The choice kept from the last pack (defaults where none was kept or a value is unknown), and
    // keeping a choice; false when the user's settings could not be written.
    static workshop::TPackOptions StoredOptions();
    static bool StoreOptions(const workshop::TPackOptions& options);

private:
    QComboBox* paper_;
    QComboBox* labels_;
    QCheckBox* sequence_;
};

} // namespace lintaro
