#include "foundation/TextUtils.h"

#include "foundation/ConversionError.h"

#include <algorithm>

namespace lintaro {

namespace {

int hexValue(QChar c) {
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    if (c >= u'a' && c <= u'f')
        return c.unicode() - u'a' + 10;
    return -1;
}

} // namespace

QString ReplaceAll(const QString& text, const QString& find, const QString& repl) {
    if (find.isEmpty())
        return text;
    QString result = text;
    if (repl.contains(find))
        return result.replace(find, repl);
    // Text in front of a replacement held no occurrence, so the next search may start just far
    // enough back to catch one that the replacement completes.
    qsizetype from = 0;
    qsizetype pos;
    while ((pos = result.indexOf(find, from)) >= 0) {
        result.replace(pos, find.size(), repl);
        from = std::max<qsizetype>(0, pos - find.size() + 1);
    }
    return result;
}

QString PadLeft(const QString& text, QChar ch, int width) {
    if (text.size() >= width)
        return text;
    return QString(width - text.size(), ch) + text;
}

QString BytesToHex(const QByteArray& bytes, const QString& sep) {
    QString result;
    static const char digits[] = "0123456789ABCDEF";
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (i > 0)
            result += sep;
        const auto b = static_cast<unsigned char>(bytes[i]);
        result += QLatin1Char(digits[b >> 4]);
        result += QLatin1Char(digits[b & 0x0F]);
    }
    return result;
}

QString StrToHex(const QString& text, const QString& sep) {
    return BytesToHex(text.toUtf8(), sep);
}

QByteArray HexToBytes(const QString& text, const QString& sep) {
    QString hex = text;
    if (!sep.isEmpty())
        hex.remove(sep);
    QByteArray result;
    result.reserve(hex.size() / 2);
    for (qsizetype i = 0; i + 1 < hex.size(); i += 2) {
        const int high = hexValue(hex[i]);
        const int low = hexValue(hex[i + 1]);
        if (high < 0 || low < 0)
            throw ConversionError(QStringLiteral("'%1' is not a valid hexadecimal value").arg(hex.mid(i, 2)));
        result += static_cast<char>(high * 16 + low);
    }
    return result;
}

QString HexToStr(const QString& text, const QString& sep) {
    return QString::fromUtf8(HexToBytes(text, sep));
}

QString EncodeLineBreaks(const QString& text) {
    static const QChar mark(u'\u00B6');
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r') {
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            out += mark;
        } else if (c == u'\n') {
            out += mark;
        } else if (c != QChar(0)) {
            out += c;
        }
    }
    return out;
}

QString DecodeLineBreaks(const QString& text) {
    QString out = text;
    return out.replace(QChar(u'\u00B6'), QLatin1String("\r\n"));
}

} // namespace lintaro
