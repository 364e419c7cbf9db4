// libFuzzer target: the template reader never crashes or hangs on any text, and what it writes reads
// back to the same template (writing is stable after one round). The template is then laid out over
// three records and written as text, so that its numbers meet the page geometry and the character
// grid: bounded time and memory whatever the numbers, or the engine's message when the page cannot
// be laid out.
#include "FuzzSupport.h"
#include "foundation/TextFile.h"
#include "reports/ReportRun.h"
#include "reports/SestVystup.h"
#include "reports/Sestava.h"
#include "reports/SestavaTyp.h"
#include "reports/TextExport.h"

#include <QCoreApplication>

#include <cstdint>
#include <cstdlib>

using namespace lintaro;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::Init();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    if (size > 64 * 1024)
        return 0;
    // The font cache is trimmed from a timer: without an event loop it would only grow.
    QCoreApplication::processEvents();
    const QString text =
        DecodeTextBytes(QByteArrayView(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(size)));
    TSestavaTyp report;
    report.SetPredloha(TPredloha::FromText(text));
    const TPredloha first = report.WritePredloha();

    TSestavaTyp again;
    again.SetPredloha(TPredloha::FromText(first.Text()));
    if (!(again.WritePredloha() == first))
        std::abort();

    TSestava printed;
    printed.SetPredloha(first);
    int record = 0;
    printed.OnStepData = [&](TSestavaD&, TStepMode mode) {
        record = mode == smFirst ? 0 : record + 1;
        return record >= 3 ? sdEndOfData : 0;
    };
    printed.OnGetData = [&](TSestavaD&, int item) {
        return QStringLiteral("Item %1 of record %2").arg(item).arg(record);
    };
    TSestVystup output;
    TReportRun run(printed, output);
    const int code = run.Run();
    if (code != 0 && run.Message().isEmpty())
        std::abort(); // a failure always says why
    if (code == 0) {
        QByteArray out;
        QString error;
        PagesAsText(printed, output, nullptr, "\n", out, error);
    }
    return 0;
}
