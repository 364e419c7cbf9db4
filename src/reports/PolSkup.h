#pragma once
// The groups of a report. A group follows one data item (by index, or by name when the template
// named it) and opens and closes around the records that share its text; its start and end sections
// live in the section list at 5 + 2n and 6 + 2n.
#include <QString>
#include <vector>

namespace lintaro {

class TPolSkup {
public:
    int Number = 0;
    int ItemIndex = 0;
    QString ItemName;     // non-empty when the template names the data item
    bool NewPage = false; // "Novou skupinu na novou stránku"

    int StartSection() const { return 5 + 2 * Number; }
    int EndSection() const { return 6 + 2 * Number; }
    // "Skupina 1" for group 0.
    QString Caption() const { return QStringLiteral("Skupina ") + QString::number(Number + 1); }
};

class TListSkupin {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    TPolSkup& Item(int index) { return items_[static_cast<size_t>(index)]; }
    const TPolSkup& Item(int index) const { return items_[static_cast<size_t>(index)]; }
    // Groups 0…count − 1, numbered in order.
    void Resize(int count);
    void Clear() { items_.clear(); }

private:
    std::vector<TPolSkup> items_;
};

} // namespace lintaro
