// The INI text store on any bytes: parsing, lookups, writing back and reading that again.
#include "FuzzSupport.h"
#include "foundation/Ini.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    lintaro::TINI ini;
    ini.LoadFromBytes(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    for (const QString& s : ini.SectionNames().mid(0, 8)) {
        const QStringList* lines = ini.FindSection(s);
        for (const QString& line : lines->mid(0, 8))
            (void)ini.ReadString(s, line.section(u'=', 0, 0));
    }
    lintaro::TINI again;
    again.LoadFromBytes(ini.ToBytes());
    if (again.ToText() != ini.ToText())
        __builtin_trap(); // what the store writes it must read back the same
    return 0;
}
