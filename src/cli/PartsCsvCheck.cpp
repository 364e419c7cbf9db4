#include "cli/PartsCsvCheck.h"

#include "foundation/Currency.h"
#include "foundation/TextFile.h"
#include "foundation/Units.h"
#include "platform/Locale.h"

#include <QRegularExpression>

#include <limits>

namespace lintaro::cli {

namespace {

constexpr int kFields = 5;

// A plain number in the user's locale: digits with at most one decimal separator, no sign, no
// thousands separator, no exponent. This is what the export writes, and what can be read the same
// under every locale that shares the separator.
bool isPlainNumber(const QString& text) {
    const QString d = QRegularExpression::escape(QString(Locale::decimalSeparator()));
    const QRegularExpression re(QStringLiteral("^[+-]?(\\d+(%1\\d*)?|%1\\d+)$").arg(d));
    return re.match(text).hasMatch();
}

QString quoted(const QString& text) {
    return u'\'' + text + u'\'';
}

// The problem of a size field, or an empty text when it is a usable size.
QString sizeProblem(const QString& name, const QString& field) {
    const QString text = field.trimmed();
    if (text.isEmpty())
        return QStringLiteral("field '%1' is empty").arg(name);
    if (!isPlainNumber(text))
        return QStringLiteral("field '%1' is not a number: %2").arg(name, quoted(field));
    bool ok = false;
    const Currency value = Currency::fromText(text, &ok);
    if (!ok)
        return QStringLiteral("field '%1' is too large: %2").arg(name, quoted(field));
    if (value <= Currency())
        return QStringLiteral("field '%1' must be above 0: %2").arg(name, quoted(field));
    Currency mm;
    if (!SizeFromUser(value, mm))
        return QStringLiteral("field '%1' is too large: %2").arg(name, quoted(field));
    return {};
}

QString orientationProblem(const QString& field) {
    const QString text = field.trimmed().toUpper();
    if (text.isEmpty() || text == QLatin1String("X") || text == QLatin1String("Y") ||
        text == QLatin1String("N"))
        return {};
    return QStringLiteral("field 'Orientation' must be X, Y or N: %1").arg(quoted(field));
}

QString countProblem(const QString& field) {
    const QString text = field.trimmed();
    if (text.isEmpty())
        return {}; // the import takes an empty count as 1
    static const QRegularExpression whole(QStringLiteral("^[+-]?\\d+$"));
    if (!whole.match(text).hasMatch())
        return QStringLiteral("field 'Count' is not a whole number: %1").arg(quoted(field));
    bool ok = false;
    const qlonglong count = text.toLongLong(&ok);
    if (!ok || count > std::numeric_limits<int>::max())
        return QStringLiteral("field 'Count' is too large: %1").arg(quoted(field));
    if (count < 1)
        return QStringLiteral("field 'Count' must be at least 1: %1").arg(quoted(field));
    return {};
}

} // namespace

bool LooksBinary(const QByteArray& bytes) {
    if (bytes.contains('\0'))
        return true;
    qsizetype control = 0;
    for (char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if ((c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f') || c == 0x7F)
            ++control;
    }
    return control * 20 > bytes.size();
}

TPartsCsvCheck CheckPartsCsv(const QString& fileName, const QByteArray& bytes) {
    TPartsCsvCheck result;
    if (LooksBinary(bytes)) {
        result.FileError = QStringLiteral("%1 is not a text file").arg(fileName);
        return result;
    }
    QString text = DecodeTextBytes(bytes);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(u'\r', u'\n');
    const QStringList lines = text.split(u'\n');
    bool first = true;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (line.trimmed().isEmpty())
            continue;
        const QString where = QStringLiteral("%1:%2: ").arg(fileName).arg(i + 1);
        const QStringList fields = line.split(u';');
        const bool firstLine = first;
        first = false;
        if (fields.size() != kFields) {
            result.Problems << where + QStringLiteral("line has %1 field%2, expected %3")
                                           .arg(fields.size())
                                           .arg(fields.size() == 1 ? "" : "s")
                                           .arg(kFields);
            continue;
        }
        const QString x = sizeProblem(QStringLiteral("X"), fields[1]);
        const QString y = sizeProblem(QStringLiteral("Y"), fields[2]);
        // Column titles in the first line are one problem, not three.
        if (firstLine && !isPlainNumber(fields[1].trimmed()) && !isPlainNumber(fields[2].trimmed())) {
            result.Problems << where + QStringLiteral("a header line is not a part: %1").arg(quoted(line));
            continue;
        }
        QStringList problems;
        if (fields[0].contains(u'|'))
            problems << QStringLiteral("field 'Caption' must not contain '|': %1").arg(quoted(fields[0]));
        for (const QString& p : {x, y, orientationProblem(fields[3]), countProblem(fields[4])})
            if (!p.isEmpty())
                problems << p;
        for (const QString& p : problems)
            result.Problems << where + p;
        if (problems.isEmpty())
            ++result.GoodLines;
    }
    return result;
}

} // namespace lintaro::cli
