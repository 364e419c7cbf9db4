#include "reports/TextExport.h"

#include "reports/ReportMessages.h"
#include "reports/ReportProgress.h"
#include "reports/RichText.h"

#include <QFileDevice>
#include <QIODevice>
#include <QRegularExpression>
#include <algorithm>
#include <cerrno>
#include <functional>
#include <iconv.h>

namespace lintaro {

int CharsPerInch(int charPitch) {
    return charPitch == 0 ? 10 : charPitch == 2 ? 17 : 12;
}

int RowsPerInch(int linePitch) {
    return linePitch == 1 ? 4 : linePitch == 2 ? 3 : 6;
}

namespace {

// The rows of one page; false when cancelled is true before some element.
bool pageRows(const TStranaPrvku& page, const TPageSetup& setup, const TDesignGrid& grid,
              const std::function<bool()>& cancelled, QStringList& rows) {
    const int cpi = CharsPerInch(grid.CharPitch);
    const int rpi = RowsPerInch(grid.LinePitch);
    const int height = setup.Orientation == 1 ? setup.Width : setup.Height;
    const int width = setup.Orientation == 1 ? setup.Height : setup.Width;
    // Widened: a page's size times the pitch stays within 64 bits whatever the template says. Rows
    // are made only as far down as text reaches, each only as wide as its text, so the memory
    // follows the text rather than the page's size.
    const qint64 rowCount = std::max<qint64>(1, qint64(height) * rpi / 100);
    const qint64 columns = std::max<qint64>(1, qint64(width) * cpi / 100);
    rows.clear();
    for (const TVystPrvek& e : page.Prvky) {
        if (cancelled && cancelled())
            return false;
        if (!e.Style.IsTextKind())
            continue;
        qint64 row = qint64(e.Box.top()) * rpi / 100;
        // Any of the three line endings a stored text may carry ends a line: none reaches the file.
        static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
        const QStringList lines =
            e.Style.Alignment & eaRichText
                ? TRichText::Shared(e.Style, e.Text, e.Box.width())->PlainLines(e.TextOffset, e.Box.height())
                : e.Text.split(lineBreak);
        for (const QString& line : lines) {
            if (row < 0 || row >= rowCount)
                break;
            while (rows.size() <= row)
                rows.append(QString());
            QString& target = rows[row++];
            // Every text starts in the column of its left edge, whatever its alignment: the grid has
            // no room to shift a text into, and a shifted one would lose characters or land on its
            // neighbour.
            qint64 column = qint64(e.Box.left()) * cpi / 100;
            const qint64 end = std::min<qint64>(columns, column + line.size());
            if (end > target.size())
                target = target.leftJustified(end, u' ');
            for (qsizetype i = 0; i < line.size(); ++i, ++column)
                if (column >= 0 && column < columns && target[column] == u' ')
                    target[column] = line[i];
        }
    }
    for (QString& row : rows)
        while (row.endsWith(u' '))
            row.chop(1);
    while (!rows.isEmpty() && rows.back().isEmpty())
        rows.removeLast();
    return true;
}

} // namespace

QStringList PageAsTextRows(const TStranaPrvku& page, const TPageSetup& setup, const TDesignGrid& grid) {
    QStringList rows;
    pageRows(page, setup, grid, {}, rows);
    return rows;
}

bool EncodeExportText(const QString& text, TExportLanguage language, QByteArray& bytes, QString& error) {
    switch (language) {
    case slUndefined:
        bytes = text.toUtf8();
        return true;
    case slASCII: {
        QString plain;
        for (const QChar c : text.normalized(QString::NormalizationForm_D))
            if (c.unicode() < 128)
                plain += c;
            else if (c.category() != QChar::Mark_NonSpacing)
                plain += u'?';
        bytes = plain.toLatin1();
        return true;
    }
    case slCP867:
        error = QStringLiteral("Kódová stránka Kamenických (CP867) není v systému k dispozici.");
        return false;
    case slCP852:
    case slCP1250:
        break;
    }
    const char* name = language == slCP852 ? "CP852" : "CP1250";
    iconv_t cd = iconv_open(name, "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        error =
            QStringLiteral("Kódová stránka %1 není v systému k dispozici.").arg(QString::fromLatin1(name));
        return false;
    }
    QByteArray in = text.toUtf8();
    bytes = QByteArray(in.size() + 16, '\0');
    char* src = in.data();
    size_t srcLeft = static_cast<size_t>(in.size());
    char* dst = bytes.data();
    size_t dstLeft = static_cast<size_t>(bytes.size());
    bool ok = true;
    while (srcLeft > 0) {
        if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) != static_cast<size_t>(-1))
            continue;
        if (errno == EILSEQ && dstLeft > 0) {
            // A character the code page lacks becomes '?': skip its UTF-8 bytes.
            *dst++ = '?';
            --dstLeft;
            do {
                ++src;
                --srcLeft;
            } while (srcLeft > 0 && (static_cast<unsigned char>(*src) & 0xC0) == 0x80);
            continue;
        }
        ok = false;
        break;
    }
    iconv_close(cd);
    if (!ok) {
        error = QStringLiteral("Text nelze převést do kódové stránky %1.").arg(QString::fromLatin1(name));
        return false;
    }
    bytes.truncate(static_cast<qsizetype>(dst - bytes.data()));
    return true;
}

int PagesAsText(const TSestava& report, const TSestVystup& output, TReportProgress* progress,
                const QByteArray& lineEnd, QByteArray& bytes, QString& error, qsizetype maxChars) {
    const int first = std::max(1, report.StartPage);
    const int last = std::min(report.EndPage, output.PageCount());
    const QString end = QString::fromLatin1(lineEnd);
    std::function<bool()> cancelled;
    if (progress)
        cancelled = [progress] { return progress->Cancelled(); };
    QString text;
    QStringList rows;
    for (int copy = 0; copy < std::max(1, report.PrintCopies); ++copy)
        for (int p = first; p <= last; ++p) {
            if (!pageRows(output.Page(p - 1), report.PageSetup, report.Grid, cancelled, rows))
                return ReportMessages::rrCancelled;
            qsizetype size = text.size() + 1;
            for (const QString& row : rows)
                size += row.size() + end.size();
            if (size > maxChars) {
                error =
                    ReportMessages::TextTooLarge().replace(QLatin1String("%d"), QString::number(maxChars));
                return ReportMessages::rrOutputError;
            }
            for (const QString& row : rows)
                text += row + end;
            text += u'\f';
        }
    if (!EncodeExportText(text, report.ExportLanguage, bytes, error))
        return ReportMessages::rrOutputError;
    return ReportMessages::rrOK;
}

int ExportText(const TSestava& report, const TSestVystup& output, QIODevice& device, QString& error,
               TReportProgress* progress) {
    QByteArray bytes;
    if (const int result = PagesAsText(report, output, progress, "\n", bytes, error);
        result != ReportMessages::rrOK)
        return result;
    // A file's buffered bytes may fail only when flushed (a full disk): that is a failure too.
    auto* file = qobject_cast<QFileDevice*>(&device);
    if (device.write(bytes) != bytes.size() || (file && !file->flush())) {
        error = device.errorString();
        return ReportMessages::rrOutputError;
    }
    return ReportMessages::rrOK;
}

} // namespace lintaro
