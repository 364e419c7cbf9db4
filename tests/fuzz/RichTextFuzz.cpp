// libFuzzer target: a rich text (HTML or RTF) from data is laid out, cut and read back as lines in
// bounded time and memory however it nests.
#include "FuzzSupport.h"
#include "reports/RichText.h"
#include "reports/RichTextNesting.h"
#include "reports/SiReportElement.h"

#include <QCoreApplication>

#include <cstdint>
#include <cstdlib>

using namespace lintaro;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::Init();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 64 * 1024)
        return 0;
    // The font cache is trimmed from a timer: without an event loop it would only grow.
    QCoreApplication::processEvents();
    const QString text = fuzz::Text(data, size);
    // Bounding changes nothing the second time.
    const QString bounded = BoundRichTextNesting(text);
    if (BoundRichTextNesting(bounded) != bounded)
        std::abort();
    TSiReportElement element;
    element.Kind = ekText;
    element.FontName = QStringLiteral("Liberation Sans");
    element.FontSize = 10;
    element.Width = 300;
    element.Height = 40;
    element.Alignment = eaRichText | eaVariableHeight;
    const TRichText layout(element, text, element.Width);
    const int height = layout.Height();
    if (height < 0)
        std::abort();
    const int cut = layout.CutAt(std::min(height, 500));
    (void)layout.PlainLines(cut, 500);
    return 0;
}
