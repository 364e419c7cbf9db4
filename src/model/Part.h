#pragma once
// The parts an order asks for and the order's list of them.
//
// TPart is one required rectangle: a caption, a width X and a length Y, a number of pieces and an
// orientation rule. Sizes are stored in millimetres and read and set in the user's length unit.
// A part is small and cheap to copy (Assign): besides the caption it holds plain values only.
//
// TPartList owns its parts (they are freed with it) and keeps exactly one empty part at its end for
// the user to type a new part into. It totals area, perimeter and pieces, reads and writes the
// "Parts" section of an order file and imports and exports the parts as CSV text.
//
// Failure: SetPropAsString may throw ConversionError for a number text that does not convert; the
// property keeps its value. Sizes outside the accepted range are ignored without a message. The CSV
// import and export report failure by their Boolean result and keep the reason in ErrorString.
#include "foundation/Currency.h"
#include "foundation/DataComponentList.h"
#include "foundation/Units.h"
#include "model/Orientation.h"

#include <QString>
#include <QStringList>

namespace lintaro {

class TPartList;

class TPart : public TDataComponent {
    LINTARO_COMPONENT(TPart)
public:
    // Sizes, in millimetres, must stay below this so that the record form's size × 10 000 fits a
    // signed 32-bit integer.
    static constexpr int64_t SizeLimitMm = ::lintaro::SizeLimitMm;

    explicit TPart(TComponent* owner = nullptr);

    QString GetPropAsString(const QString& name) const override;
    void SetPropAsString(const QString& name, const QString& value) override;
    bool DataChangeStep(TComponent* source, TComponent* sender, int phase, const QString& propName) override;
    void InitDefaults() override;
    void AssignTo(TComponent* dest) const override;
    QString GetDefaultCaption() const override;

    // Width and length in the user's length unit (inches under the U.S. system).
    Currency X() const;
    Currency Y() const;
    // A value ≤ 0 or ≥ 214 748 in the user's unit, or one that reaches 214 748 mm once converted
    // from inches, is ignored.
    void SetX(Currency value);
    void SetY(Currency value);
    // The stored millimetres, as the calculator and the files use them.
    Currency StoredX() const { return x_; }
    Currency StoredY() const { return y_; }

    int Count() const { return count_; }
    // A value ≤ 0 becomes 1.
    void SetCount(int value);
    TPartOrientation Orientation() const { return orientation_; }
    void SetOrientation(TPartOrientation value);

    // One piece's area in the user's area unit and perimeter in the user's perimeter unit.
    Currency Area() const;
    Currency Circuit() const;
    // A caption and a positive area × count.
    bool IsValid() const;

    // Reads a CSV line (caption; X; Y; orientation; count in the user's units). A field that does
    // not convert leaves its property unchanged and the others are still read; the reasons are
    // appended to notes (when given). Returns whether every field converted.
    bool ReadCSVLine(const QString& line, QStringList* notes = nullptr);

private:
    friend class TPartList; // sets the new empty part's count and orientation directly

    void SetSize(Currency& field, Currency value, const QString& propName);
    QString RecordText() const;
    void ReadRecord(const QString& record);
    QString CSVLine() const;

    Currency x_; // mm
    Currency y_; // mm
    int count_ = 0;
    TPartOrientation orientation_ = poNone;
};

class TPartList : public TDataComponentList {
    LINTARO_COMPONENT(TPartList)
public:
    explicit TPartList(TComponent* owner = nullptr);

    QString GetPropAsString(const QString& name) const override;
    bool DataChangeStep(TComponent* source, TComponent* sender, int phase, const QString& propName) override;
    void InitDefaults() override;
    QString GetDefaultCaption() const override;

    // The part order: valid parts by caption (the locale's case-insensitive comparison) before
    // invalid ones; two invalid parts compare equal.
    static int ComparePartOrder(const TDataComponent* a, const TDataComponent* b);
    // The caption after the given one: a trailing run of digits is increased by one ("Part 9" →
    // "Part 10", "P007" → "P8"); a caption without one is returned unchanged.
    static QString NextCaption(const QString& caption);

    TPart* Part(int index) const;

    // Sum of area × count in the user's area unit, and of perimeter × count over the parts that
    // have an area, in the user's perimeter unit.
    Currency Area() const;
    Currency Circuit() const;
    // Pieces and parts among the parts that have an area (the empty part does not count).
    int PartsCount() const;
    int ValidItemCount() const;

    // True while the list is filled from a file; CheckEmptyPart then does nothing.
    bool BulkLoading() const { return bulkLoading_; }
    // Appends a new empty part when every part is valid.
    void CheckEmptyPart();

    // The "Parts" section of an order file: "Count=" and one "ItemN=" record per part with an area.
    void SaveToStrings(QStringList& lines) const;
    // Replaces the parts by those of the section; none (a missing section) leaves the list empty.
    void LoadFromStrings(const QStringList* lines);

    // Replaces all parts by those of a CSV file. False, with the list unchanged, when the file
    // cannot be read or is not a text file.
    bool LoadAsCSV(const QString& fileName);
    // Writes every part as one CSV line (UTF-8, CR LF); false when the file cannot be written.
    bool SaveAsCSV(const QString& fileName) const;
    // Why the last LoadAsCSV or SaveAsCSV failed; empty after success.
    const QString& ErrorString() const { return errorString_; }
    // The fields of the last CSV import that did not convert and kept their values.
    const QStringList& ImportNotes() const { return importNotes_; }

private:
    // Not reset by InitDefaults: Clear runs inside a bulk load and must not end it.
    bool bulkLoading_ = false;
    mutable QString errorString_; // a diagnostic beside the results, not part of the list's data
    QStringList importNotes_;
};

} // namespace lintaro
