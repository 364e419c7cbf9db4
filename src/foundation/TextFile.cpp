#include "foundation/TextFile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

namespace lintaro {

QString DecodeTextBytes(QByteArrayView bytes) {
    static constexpr char bom[] = "\xEF\xBB\xBF";
    if (bytes.startsWith(QByteArrayView(bom, 3)))
        bytes = bytes.sliced(3);
    const qsizetype nul = bytes.indexOf('\0');
    if (nul >= 0)
        bytes = bytes.first(nul);
    QStringDecoder utf8(QStringConverter::Utf8,
                        QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder cp1250("windows-1250", QStringConverter::Flag::Stateless);
    return cp1250.decode(bytes);
}

bool ReadTextFile(const QString& path, QString& text, QString* error) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = f.errorString();
        return false;
    }
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        if (error)
            *error = f.errorString();
        return false;
    }
    text = DecodeTextBytes(bytes);
    return true;
}

bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit()) {
        if (error)
            *error = f.errorString();
        f.cancelWriting();
        return false;
    }
    return true;
}

} // namespace lintaro
