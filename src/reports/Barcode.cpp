#include "reports/Barcode.h"

#include <QPainter>
#include <algorithm>
#include <memory>
#include <zint.h>

namespace lintaro {

namespace {

struct SymbolDeleter {
    void operator()(zint_symbol* symbol) const { ZBarcode_Delete(symbol); }
};

const char* const kNames[bcTypeCount] = {
    "2/5 interleaved", "2/5 industrial", "2/5 matrix",   "Code 39", "Code 39 Full", "Code 128A", "Code 128B",
    "Code 128C",       "Code 93",        "Code 93 Full", "MSI",     "PostNet",      "Codebar",   "EAN 8",
    "EAN 13",          "UPC-A",          "UPC-E0",       "UPC-E1",  "UPC Supp2",    "UPC Supp5"};

// The libzint symbology of a type. libzint forces only subset B of Code 128; A and C take its
// automatic subset choice, which is C for digit pairs and A for upper case with control codes.
int symbology(int type) {
    switch (type) {
    case bc25Interleaved:
        return BARCODE_C25INTER;
    case bc25Industrial:
        return BARCODE_C25IND;
    case bc25Matrix:
        return BARCODE_C25STANDARD;
    case bcCode39:
        return BARCODE_CODE39;
    case bcCode39Full:
        return BARCODE_EXCODE39;
    case bcCode128B:
        return BARCODE_CODE128B;
    case bcCode128A:
    case bcCode128C:
        return BARCODE_CODE128;
    case bcCode93:
    case bcCode93Full:
        return BARCODE_CODE93;
    case bcMSI:
        return BARCODE_MSI_PLESSEY;
    case bcPostNet:
        return BARCODE_POSTNET;
    case bcCodabar:
        return BARCODE_CODABAR;
    case bcUPCA:
        return BARCODE_UPCA;
    case bcUPCE0:
    case bcUPCE1:
        return BARCODE_UPCE;
    default: // EAN 8, EAN 13 and the UPC add-ons, which libzint draws as EAN symbols of 2 or 5 digits
        return BARCODE_EANX;
    }
}

} // namespace

QString BarcodeTypeName(int type) {
    return type >= 0 && type < bcTypeCount ? QString::fromUtf8(kNames[type]) : QString();
}

QStringList BarcodeTypeNames() {
    QStringList names;
    for (int t = 0; t < bcTypeCount; ++t)
        names << BarcodeTypeName(t);
    return names;
}

bool DrawBarcode(QPainter& painter, const QRectF& box, const QString& content, const TBarcodeOptions& options,
                 QString* error) {
    const int type = options.Type >= 0 && options.Type < bcTypeCount ? options.Type : bcEAN13;
    std::unique_ptr<zint_symbol, SymbolDeleter> symbol(ZBarcode_Create());
    if (!symbol)
        return false;
    symbol->symbology = symbology(type);
    symbol->show_hrt = options.ShowText ? 1 : 0;
    symbol->scale = 1;
    symbol->whitespace_width = 0;
    for (const QChar c : content)
        if (c.unicode() > 0xFF) {
            if (error)
                *error = QStringLiteral("Znak '%1' nelze zakódovat.").arg(c);
            return false;
        }
    QByteArray data = content.toLatin1();
    if (type == bcUPCE1 && data.size() == 6)
        data.prepend('1');
    if (options.CheckDigit) {
        switch (type) {
        case bc25Interleaved:
        case bc25Industrial:
        case bc25Matrix:
        case bcCode39:
        case bcCode39Full:
        case bcCodabar:
        case bcMSI:
            symbol->option_2 = 1;
            break;
        default: // the EAN and UPC check digits, Code 93 and Code 128 checks are always part of the code
            break;
        }
    }
    if (ZBarcode_Encode(symbol.get(), reinterpret_cast<const unsigned char*>(data.constData()),
                        static_cast<int>(data.size())) >= ZINT_ERROR ||
        ZBarcode_Buffer_Vector(symbol.get(), 0) >= ZINT_ERROR || !symbol->vector) {
        if (error)
            *error = QString::fromLatin1(symbol->errtxt);
        return false;
    }
    // libzint's vector units are half a module.
    const double module = (std::clamp(options.Step, 0, 12) + 2) / 4.0;
    const double sx = module / 2.0;
    const double sy = symbol->vector->height > 0 ? box.height() / symbol->vector->height : 1.0;
    painter.save();
    painter.translate(box.topLeft());
    if (options.Angle != 0)
        painter.rotate(-options.Angle / 10.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    for (const zint_vector_rect* r = symbol->vector->rectangles; r; r = r->next)
        if (r->colour != 8)
            painter.drawRect(QRectF(r->x * sx, r->y * sy, r->width * sx, r->height * sy));
    painter.setPen(Qt::black);
    for (const zint_vector_string* s = symbol->vector->strings; s; s = s->next) {
        QFont font(QStringLiteral("Liberation Sans"));
        font.setPixelSize(std::max(1, qRound(s->fsize * sy)));
        painter.setFont(font);
        const QString text = QString::fromUtf8(reinterpret_cast<const char*>(s->text), s->length);
        const double width = painter.fontMetrics().horizontalAdvance(text);
        const double x = s->x * sx - (s->halign == 0 ? width / 2 : s->halign == 2 ? width : 0);
        painter.drawText(QPointF(x, s->y * sy), text);
    }
    painter.restore();
    return true;
}

} // namespace lintaro
