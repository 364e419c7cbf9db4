#include "app/window/NumberText.h"

#include "platform/Locale.h"

namespace lintaro {

namespace {

QString withoutUnitText(const QString& text) {
    const QString trimmed = text.trimmed();
    for (const char* unit : {"ft2", "m2", "mm", "in", "ft", "m"}) {
        const QString suffix = QLatin1String(unit);
        if (trimmed.size() > suffix.size() && trimmed.endsWith(suffix, Qt::CaseInsensitive) &&
            !trimmed.at(trimmed.size() - suffix.size() - 1).isLetter())
            return trimmed.left(trimmed.size() - suffix.size()).trimmed();
    }
    return trimmed;
}

bool digitsAt(const QString& text, qsizetype from, qsizetype count) {
    if (from + count > text.size())
        return false;
    for (qsizetype i = from; i < from + count; ++i)
        if (!text[i].isDigit())
            return false;
    return from + count == text.size() || !text[from + count].isDigit();
}

} // namespace

QString NormalisedNumberText(const QString& text) {
    const QString bare = withoutUnitText(text);
    const QChar thousands = Locale::thousandsSeparator();
    QString result;
    for (qsizetype i = 0; i < bare.size(); ++i) {
        if (bare[i] == thousands && i > 0 && bare[i - 1].isDigit() && digitsAt(bare, i + 1, 3))
            continue;
        result += bare[i];
    }
    return result;
}

QString UnreadableNumberMessage(const QString& text) {
    const QChar decimal = Locale::decimalSeparator();
    qsizetype i = 0;
    while (i < text.size()) {
        if (!text[i].isDigit() && text[i] != u'.' && text[i] != u',') {
            ++i;
            continue;
        }
        const qsizetype start = i;
        int separators = 0;
        bool foreign = false;
        for (; i < text.size() && (text[i].isDigit() || text[i] == u'.' || text[i] == u','); ++i) {
            if (text[i] == decimal)
                ++separators;
            else if (!text[i].isDigit())
                foreign = true;
        }
        if (foreign || separators > 1)
            return QStringLiteral("'%1' is not a valid floating point value").arg(text.mid(start, i - start));
    }
    return {};
}

} // namespace lintaro
