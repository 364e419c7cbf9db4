#include "foundation/BarRecord.h"

namespace lintaro {

namespace {
constexpr QChar kBar = u'|';
}

QString NormalizeBarList(const QString& text) {
    // A lone bar both starts and ends the text; it must still become one empty field.
    if (text.isEmpty() || text == QStringLiteral("|"))
        return QStringLiteral("||");
    QString result = text;
    if (!result.startsWith(kBar))
        result.prepend(kBar);
    if (!result.endsWith(kBar))
        result.append(kBar);
    return result;
}

int BarFieldCount(const QString& text) {
    return static_cast<int>(NormalizeBarList(text).count(kBar)) - 1;
}

QString GetBarField(const QString& text, int index) {
    if (index < 0)
        return QString();
    const QString normalized = NormalizeBarList(text);
    qsizetype start = 0; // position of the bar in front of field `index`
    for (int i = 0; i < index; ++i) {
        start = normalized.indexOf(kBar, start + 1);
        if (start < 0 || start == normalized.size() - 1)
            return QString();
    }
    const qsizetype end = normalized.indexOf(kBar, start + 1);
    if (end < 0)
        return QString();
    return normalized.mid(start + 1, end - start - 1);
}

QString JoinBarLists(const QString& a, const QString& b) {
    if (a.isEmpty())
        return NormalizeBarList(b);
    return NormalizeBarList(a).chopped(1) + NormalizeBarList(b);
}

int GetBarFieldInt(const QString& text, int index) {
    bool ok = false;
    const int v = GetBarField(text, index).toInt(&ok);
    return ok ? v : 0;
}

} // namespace lintaro
