#include "reports/ReportProgress.h"

namespace lintaro {

namespace {
void writeLine(std::FILE* out, const QString& text) {
    std::fprintf(out, "%s\n", text.toUtf8().constData());
    std::fflush(out);
}
} // namespace

void TTextProgress::Show(const QString& message, bool /*cancellable*/) {
    if (!out_)
        return;
    QString kind = message;
    while (!kind.isEmpty() && kind.back().isDigit())
        kind.chop(1);
    last_ = message;
    lastWritten_ = kind == kind_ ? false : true;
    if (kind != kind_) {
        kind_ = kind;
        writeLine(out_, message);
    }
}

void TTextProgress::Hide() {
    if (out_ && !lastWritten_ && !last_.isEmpty())
        writeLine(out_, last_);
    lastWritten_ = true;
}

} // namespace lintaro
