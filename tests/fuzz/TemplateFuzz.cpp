// libFuzzer target: the template reader never crashes or hangs on any text, and what it writes reads
// back to the same template (writing is stable after one round).
#include "foundation/TextFile.h"
#include "reports/SestavaTyp.h"

#include <cstdint>
#include <cstdlib>

using namespace lintaro;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    if (size > 64 * 1024)
        return 0;
    const QString text =
        DecodeTextBytes(QByteArrayView(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(size)));
    TSestavaTyp report;
    report.SetPredloha(TPredloha::FromText(text));
    const TPredloha first = report.WritePredloha();

    TSestavaTyp again;
    again.SetPredloha(TPredloha::FromText(first.Text()));
    if (!(again.WritePredloha() == first))
        std::abort();
    return 0;
}
