#include "reports/Predloha.h"

#include "foundation/TextUtils.h"

#include <QRegularExpression>
#include <algorithm>

namespace lintaro {

TPredloha TPredloha::FromText(const QString& text) {
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(u'\r', u'\n');
    QStringList lines = t.split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return TPredloha(lines);
}

QString TPredloha::Text() const {
    QString text;
    for (const QString& line : lines_)
        text += line + QLatin1String("\r\n");
    return text;
}

QStringList SplitTemplateLine(const QString& line) {
    QStringList fields;
    QString field;
    qsizetype i = 0;
    const qsizetype n = line.size();
    for (;;) {
        field.clear();
        if (i < n && line[i] == u'"') {
            ++i;
            while (i < n) {
                if (line[i] == u'"') {
                    if (i + 1 < n && line[i + 1] == u'"') {
                        field += u'"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += line[i++];
            }
        }
        while (i < n && line[i] != u',')
            field += line[i++];
        fields.append(field);
        if (i >= n)
            break;
        ++i; // the comma
    }
    return fields;
}

QString QuoteTemplateText(const QString& text) {
    QString t = EncodeLineBreaks(text);
    t.replace(QLatin1String("\""), QLatin1String("\"\""));
    return u'"' + t + u'"';
}

int TemplateInt(const QStringList& fields, int index, int def) {
    if (index < 0 || index >= fields.size())
        return def;
    bool ok = false;
    const int v = fields[index].trimmed().toInt(&ok);
    return ok ? v : def;
}

int TemplateIntIn(const QStringList& fields, int index, int def, int min, int max) {
    if (index < 0 || index >= fields.size())
        return def;
    const QString text = fields[index].trimmed();
    bool ok = false;
    qlonglong v = text.toLongLong(&ok);
    if (!ok) {
        // Digits beyond 64 bits: the sign tells the nearer end.
        static const QRegularExpression digits(QStringLiteral("^[+-]?\\d+$"));
        if (!digits.match(text).hasMatch())
            return def;
        v = text.startsWith(u'-') ? min : max;
    }
    return static_cast<int>(std::clamp<qlonglong>(v, min, max));
}

int TemplateLength(const QStringList& fields, int index, int def) {
    return TemplateIntIn(fields, index, def, -kMaxTemplateLength, kMaxTemplateLength);
}

QString TemplateText(const QStringList& fields, int index) {
    if (index < 0 || index >= fields.size())
        return {};
    return DecodeLineBreaks(fields[index]);
}

} // namespace lintaro
