#include "FuzzSupport.h"

#include "foundation/Program.h"
#include "foundation/TextFile.h"
#include "model/ApplicationLinks.h"
#include "model/Setup.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <cstdlib>
#include <unistd.h>

namespace lintaro::fuzz {

void Init() {
    // Never destroyed: the process ends inside the fuzzer, after the static objects it would need.
    static QGuiApplication* app = nullptr;
    if (app)
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "lintaro-fuzz";
    static char* argv[] = {name, nullptr};
    app = new QGuiApplication(argc, argv);
    InitProgramValues({QStringLiteral(LINTARO_BIN_DIR), QStringLiteral(LINTARO_BIN_DIR)});
    static TSetup setup;
    TApplicationLinks::SetSetup(&setup);
}

QString ScratchFile(const uint8_t* data, size_t size, const char* suffix) {
    static const QString folder = [] {
        const QString shm = QStringLiteral("/dev/shm");
        const QString base = QDir(shm).exists() ? shm : QDir::tempPath();
        const QString dir = base + QStringLiteral("/lintaro-fuzz-%1").arg(getpid());
        QDir().mkpath(dir);
        return dir;
    }();
    const QString path = folder + QStringLiteral("/input") + QString::fromLatin1(suffix);
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    return path;
}

QString Text(const uint8_t* data, size_t size) {
    return DecodeTextBytes(QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
}

} // namespace lintaro::fuzz
