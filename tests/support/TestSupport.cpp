#include "support/TestSupport.h"

#include "foundation/Program.h"

#include <QFile>

namespace lintaro::test {

QString dataPath(const QString& relative) {
    return QStringLiteral(LINTARO_TEST_DATA_DIR) + u'/' + relative;
}

QString samplePath(const QString& name) {
    return QStringLiteral(LINTARO_BIN_DIR "/samples/") + name;
}

QByteArray readFileBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

bool writeFileBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

void initProgramForTests() {
    const QString bin = QStringLiteral(LINTARO_BIN_DIR);
    InitProgramValues({bin, bin});
}

} // namespace lintaro::test
