#pragma once
// The common part of the five document printers. A printer writes one row per printed line into a
// temporary file, opens a text dataset on it and runs its report over it: every field other than the
// stored "ID" is a calculated one whose text is a property of a domain object, read by name. The
// field's full name, "DB" + stem + field name, chooses the object by the first prefix it begins with;
// the rest of the name is the property. The template is the section of the report-template store
// named after the document.
//
// The printer index and the number of copies of each document are kept in the user's settings as
// stem + "PrinterIndex" and stem + "Copies", neither read nor written while Shift is held.
//
// Failures are values: Preview and Design return false when there is nothing to print, no host to
// show it or the temporary file cannot be written; missing pictures, templates and settings values
// leave the report's defaults.
#include "print/TextDataSet.h"
#include "reports/Sestava.h"

#include <QDateTime>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace lintaro {

class TDataComponent;
class TDataComponentList;

// The most copies a print asks for.
constexpr int kMaxCopies = 99;

class TDocumentPrinter {
public:
    virtual ~TDocumentPrinter();
    TDocumentPrinter(const TDocumentPrinter&) = delete;
    TDocumentPrinter& operator=(const TDocumentPrinter&) = delete;

    // The report, its settings fixed, its callbacks bound to this printer.
    TSestava Sestava;
    // The chosen printer, an index of PrinterNames().
    int PrinterIndex = 0;

    // The ordinary print command: the data prepared, the preview of the registered host shown, the
    // printer choice kept for the next time.
    bool Preview();
    // The same command with Shift and Ctrl held: the template designer on the same data.
    bool Design();

    // The dataset name's stem: "Order", "Parts", "Material", "Sheets", "Setup".
    const QString& Stem() const { return stem_; }
    // The template section the report uses now.
    virtual QString SectionName() const = 0;
    // False when the domain object this printer prints is missing.
    virtual bool HasSubject() const = 0;
    // The rows the dataset gets, one "ID" each, in order.
    virtual QStringList Rows() const = 0;
    TTextDataSet& DataSet() { return dataSet_; }

    // The text of a calculated field (by field name, as the report asks for it) for the current row.
    QString FieldText(const QString& fieldName);

    // The template callbacks: the section's lines to the report, the report's lines to the section
    // (and the store saved to its file).
    void NactiPredlohu(TSestava& report, TPredloha& predloha) const;
    bool UlozPredlohu(TSestava& report) const;
    // The named pictures templates may use, and one of them by name (case-insensitive).
    virtual QStringList NactiSeznamObrazu() const;
    virtual bool NactiObraz(const QString& name, QImage& picture);

    // Steps of both commands, public for hosts that print without a preview: Open builds the rows,
    // opens the dataset, loads the template and the parameter lines; Close closes the dataset and
    // removes the temporary file. Open returns false (and leaves nothing behind) when there is
    // nothing to print or the rows cannot be written.
    bool Open();
    void Close();
    // Reads, resp. writes, the printer index and copies unless Shift is held.
    void LoadPrinterChoice();
    void SavePrinterChoice() const;

protected:
    explicit TDocumentPrinter(const QString& stem);

    // One source of field texts: the full field-name prefix, the object it reads and, when not the
    // rest of the name, the property.
    struct TSource {
        QString prefix;
        std::function<const TDataComponent*()> object;
        QString property = QString();
    };
    // In the order the prefixes are tested.
    virtual QList<TSource> Sources() const = 0;
    // A calculated field of the report with its size in characters.
    // "AreaUnit": the unit prices per area are in, "m2", or "ft2" under U.S. units, for the labels.
    void AddAreaUnitField();
    void AddField(const QString& name, int size);
    // The address fields of prefix "Customer" or "Supplier".
    void AddAddressFields(const QString& prefix, bool withVATPayer);
    // The item of list whose ID is the current row's "ID"; none when it is not a number or not found.
    const TDataComponent* RowItem(const TDataComponentList* list) const;
    // The current row's stored "ID" as an integer, 0 when it is not one.
    int RowId() const;
    // Hooks around the rows: before they are built and after the dataset closed.
    virtual void PrepareRows() {}
    virtual void ReleaseRows() {}

private:
    // The picture of a file as last loaded, while the file keeps its time and size: a logo in a page
    // head is then one picture shared by every page, not a copy decoded for each.
    QImage pictureFile(const QString& path);

    struct LoadedPicture {
        QString path;
        QDateTime modified;
        qint64 size = -1;
        QImage image;
    };

    QString stem_;
    TTextDataSet dataSet_;
    QString tempFile_;
    LoadedPicture loaded_;
};

} // namespace lintaro
