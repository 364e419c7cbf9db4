#include "print/PrintHost.h"

#include "foundation/Program.h"

namespace lintaro {

namespace {
TPrintHost* registeredHost = nullptr;
} // namespace

void TPrintHost::FillParameters(QStringList& lines) {
    ReportParameterLines(lines);
}

void RegisterPrintHost(TPrintHost* host) {
    registeredHost = host;
}

TPrintHost* PrintHost() {
    return registeredHost;
}

TScopedPrintHost::TScopedPrintHost(TPrintHost* host) : previous_(registeredHost) {
    registeredHost = host;
}

TScopedPrintHost::~TScopedPrintHost() {
    registeredHost = previous_;
}

void ReportParameterLines(QStringList& lines) {
    const TVersionInfo& v = Version();
    lines.clear();
    lines << v.ProductName
          << QStringLiteral("%1.%2.%3.%4").arg(v.Major).arg(v.Minor).arg(v.Release).arg(v.Build);
}

} // namespace lintaro
