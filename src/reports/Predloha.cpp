#include "reports/Predloha.h"

#include "foundation/TextUtils.h"

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

QString TemplateText(const QStringList& fields, int index) {
    if (index < 0 || index >= fields.size())
        return {};
    return DecodeLineBreaks(fields[index]);
}

} // namespace lintaro
