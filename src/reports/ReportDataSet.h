#pragma once
// What a report asks of its data source: open and close, walking the records, bookmarks, and for
// each field its name, display label, type, alignment, display width and display text. The text
// dataset of the printers implements it; a report holds it without owning it.
#include <QString>

namespace lintaro {

enum TFieldType {
    ftUnknown,
    ftString,
    ftSmallint,
    ftInteger,
    ftWord,
    ftBoolean,
    ftFloat,
    ftCurrency,
    ftDate,
    ftTime,
    ftDateTime,
    ftMemo,
    ftGraphic,
};

enum TFieldAlignment { faLeftJustify = 0, faRightJustify = 1, faCenter = 2 };

// Numeric fields in the sense of expressions: small integer, integer, word, float, currency.
inline bool IsNumericField(TFieldType type) {
    return type == ftSmallint || type == ftInteger || type == ftWord || type == ftFloat || type == ftCurrency;
}

class TReportDataSet {
public:
    virtual ~TReportDataSet() = default;

    virtual bool Active() const = 0;
    // False when the data cannot be opened; the data source then stays closed.
    virtual bool Open() = 0;
    virtual bool Close() = 0;

    virtual void First() = 0;
    virtual void Next() = 0;
    virtual void Prior() = 0;
    virtual void Last() = 0;
    virtual bool Bof() const = 0;
    virtual bool Eof() const = 0;
    virtual int RecordCount() const = 0;
    virtual int Bookmark() const = 0;
    virtual bool GotoBookmark(int bookmark) = 0;

    virtual int FieldCount() const = 0;
    virtual QString FieldName(int index) const = 0;
    virtual QString FieldDisplayLabel(int index) const = 0;
    virtual TFieldType FieldDataType(int index) const = 0;
    virtual TFieldAlignment FieldAlignment(int index) const = 0;
    virtual int FieldDisplayWidth(int index) const = 0;
    virtual QString FieldDisplayText(int index) = 0;
    virtual bool FieldIsNull(int index) = 0;
    // Controls showing the data stop following the cursor while a report walks the records, and
    // follow it again afterwards (calls nest). Data sources without controls ignore them.
    virtual void DisableControls() {}
    virtual void EnableControls() {}
};

} // namespace lintaro
