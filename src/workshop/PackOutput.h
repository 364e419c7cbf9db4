#pragma once
// The workshop pack's pages on paper and screen: a vector PDF, a CUPS printer (each page in its
// own size and orientation), or pictures of the pages for a preview. All paint through
// TWorkshopPack::PaintPage, scaled from the device's resolution to the pack's 0.1 mm unit.
#include "workshop/WorkshopPack.h"

#include <QImage>

#include <functional>

namespace lintaro::workshop {

struct TPackOutputOptions {
    int FirstPage = 1; // 1-based, clamped to the pack
    int LastPage = 9999;
    int Copies = 1;
    // Told of each page as it is written: 1-based page number and the pages to go out.
    std::function<void(int page, int pages)> OnPage;
};

// Writes the pages to path atomically (nothing is left on failure). False with the reason in *error.
bool WritePackPdf(const TWorkshopPack& pack, const QString& path, const TPackOutputOptions& options,
                  QString* error);
// Sends the pages to the named printer (empty: the default one). False with the reason in *error.
bool PrintPack(const TWorkshopPack& pack, const QString& printerName, const TPackOutputOptions& options,
               QString* error);
// Page `index` as a white picture at that resolution.
QImage RenderPackPage(const TWorkshopPack& pack, int index, double dotsPerInch);

} // namespace lintaro::workshop
