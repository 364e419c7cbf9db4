// libFuzzer target: the text dataset reads any row file, walks it, and after one row is posted and
// the file written back, every other row reads back unchanged.
#include "FuzzSupport.h"
#include "print/TextDataSet.h"

#include <cstdint>
#include <cstdlib>

using namespace lintaro;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::Init();
    return 0;
}

namespace {

QStringList rows(TTextDataSet& data) {
    QStringList seen;
    for (data.First(); !data.Eof(); data.Next())
        seen << data.RecordText();
    return seen;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 64 * 1024)
        return 0;
    TTextDataSet rowsFile;
    rowsFile.FileName = fuzz::ScratchFile(data, size, ".TMP");
    if (!rowsFile.Open())
        return 0;
    const QStringList before = rows(rowsFile);
    if (before.isEmpty())
        return 0;
    // The last row is edited; the others must come back as they were.
    rowsFile.Last();
    if (!rowsFile.Edit())
        return 0;
    rowsFile.FieldByName(QStringLiteral("ID"))->SetAsString(QStringLiteral("edited"));
    if (!rowsFile.Post() || !rowsFile.Close() || !rowsFile.Open())
        std::abort();
    const QStringList after = rows(rowsFile);
    if (after.size() != before.size() || after.mid(0, after.size() - 1) != before.mid(0, before.size() - 1))
        std::abort();
    rowsFile.Close();
    return 0;
}
