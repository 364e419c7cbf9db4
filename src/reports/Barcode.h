#pragma once
// Barcode elements: the 20 barcode types of a template encoded by libzint and drawn as vector bars
// with our painter. The bar-width step (0–12) sets the narrowest bar; the element's box height sets
// the bar height; the angle field turns the symbol about the box's top left corner.
#include <QRectF>
#include <QString>
#include <QStringList>

QT_BEGIN_NAMESPACE
class QPainter;
QT_END_NAMESPACE

namespace lintaro {

enum TBarcodeType {
    bc25Interleaved,
    bc25Industrial,
    bc25Matrix,
    bcCode39,
    bcCode39Full,
    bcCode128A,
    bcCode128B,
    bcCode128C,
    bcCode93,
    bcCode93Full,
    bcMSI,
    bcPostNet,
    bcCodabar,
    bcEAN8,
    bcEAN13,
    bcUPCA,
    bcUPCE0,
    bcUPCE1,
    bcUPCSupp2,
    bcUPCSupp5,
    bcTypeCount
};

// "2/5 interleaved" … "UPC Supp5"; empty outside the list.
QString BarcodeTypeName(int type);
QStringList BarcodeTypeNames();

struct TBarcodeOptions {
    int Type = bcEAN13;
    int Step = 4;            // narrowest bar: (step + 2) / 4 hundredths of an inch
    bool CheckDigit = false; // "Vytvářet kontrolní součet"
    bool ShowText = false;   // "Tisknout text"
    int Angle = 0;           // tenths of a degree, counter-clockwise
};

// Draws content as a barcode into box (hundredths of an inch). False with libzint's reason when the
// content does not fit the symbology; nothing is drawn then.
bool DrawBarcode(QPainter& painter, const QRectF& box, const QString& content, const TBarcodeOptions& options,
                 QString* error = nullptr);

} // namespace lintaro
