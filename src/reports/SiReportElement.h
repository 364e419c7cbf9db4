#pragma once
// One printed element of a report section: its kind, the reference it prints, its box in hundredths
// of an inch and its style. Text kinds (1–6) use the font fields, graphic kinds (7–13) the pen and
// brush fields; a sub-report (15) uses only the reference and the box.
#include <QString>

namespace lintaro {

enum TElementKind {
    ekText = 1,
    ekDataItem = 2,  // "Položka tabulky"
    ekDataLabel = 3, // "Popis položky"
    ekParameter = 4, // "Parametr"
    ekVariable = 5,  // "Proměnná"
    ekFunction = 6,  // "Funkce"
    ekLine = 7,      // "Úsečka"
    ekRectangle = 8, // "Rámeček"
    ekRoundRect = 9, // "Zaoblený rámeček"
    ekEllipse = 10,  // "Elipsa"
    ekPicture = 11,  // "Obrázek"
    ekBarcode = 12,  // "Čárový kód"
    ekPaintBox = 13, // "Kreslicí plocha"
    ekSubReport = 15,
};

// Variables printed by kind 5, by number; group n has 5 + 2n and 6 + 2n.
enum TReportVariable {
    rvPrintDate = 0,   // "Datum tisku"
    rvPrintTime = 1,   // "Čas tisku"
    rvRecordNo = 2,    // "Číslo řádku"
    rvPageNo = 3,      // "Číslo stránky"
    rvPageCount = 4,   // "Počet stran"
    rvGroupRecord = 5, // "Číslo ř. ve sk."
    rvGroupNo = 6,     // "Číslo skupiny"
};

// Alignment bits of text elements.
enum TElementAlignment {
    eaLeft = 0,
    eaRight = 1,
    eaCenter = 2,
    eaHorizontalMask = 3,
    eaRichText = 8,
    eaMultiLine = 16,
    eaJustify = 32,
    eaVariableHeight = 64,
};

// Frame and picture bits of text flags 2 and drawing flags.
enum TElementFlags {
    efFrameLeft = 1,
    efFrameTop = 2,
    efFrameRight = 4,
    efFrameBottom = 8,
    efStretch = 16,    // pictures; barcodes: add the check digit
    efKeepAspect = 32, // pictures; barcodes: print the human-readable text
};

struct TSiReportElement {
    int Kind = ekText;
    int Reference = 0;     // a data-item, parameter, variable, function or sub-report index
    QString ReferenceName; // the name the template gave instead of a number, kept for writing
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;

    // Text kinds.
    QString FontName;
    int FontSize = 0; // points; a negative size is a height in hundredths of an inch
    int FontColor = 0;
    int FontStyle = 0; // bold 1, italic 2, underline 4, strikeout 8
    int Alignment = 0;
    int Flags2 = 0;
    int Charset = 0;
    QString Text;
    int Spacing = 0;
    int Angle = 0;
    int Third = 0; // kept and written back unchanged

    // Graphic kinds; a new element has pen width 1 and a white solid brush.
    int PenWidth = 1;
    int PenColor = 0;
    int PenStyle = 0; // barcodes: the barcode type
    int DrawFlags = 0;
    int BrushColor = 15;
    int BrushStyle = 0; // drawing areas: the resolution multiplier
    QString FileName;   // pictures: the file or picture name; barcodes: the content expression

    bool IsTextKind() const { return Kind >= ekText && Kind <= ekFunction; }
    bool IsGraphicKind() const { return Kind >= ekLine && Kind <= ekPaintBox; }
    // A negative size is a height in hundredths of an inch.
    double FontPoints() const { return FontSize >= 0 ? FontSize : -FontSize * 72.0 / 100.0; }

    bool operator==(const TSiReportElement&) const = default;
};

} // namespace lintaro
