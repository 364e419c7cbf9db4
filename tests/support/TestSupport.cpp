#include "support/TestSupport.h"

#include "foundation/Program.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

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
    // Temporary files of a test process go to a folder of its own, removed when it ends: the
    // machine's shared one holds files of the same pattern left by other programs.
    static QTemporaryDir temp;
    if (temp.isValid() && qEnvironmentVariableIsEmpty("TEMP"))
        qputenv("TEMP", QFile::encodeName(temp.path()));
    const QString bin = QStringLiteral(LINTARO_BIN_DIR);
    InitProgramValues({bin, bin});
}

void ensureGuiApplication() {
    static int argc = 1;
    static char name[] = "lintaro_tests";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QGuiApplication(argc, argv);
}

} // namespace lintaro::test
