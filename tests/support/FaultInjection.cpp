#include "support/FaultInjection.h"

#include <QDir>
#include <QFile>
#include <QProcess>

namespace lintaro::test {

ScopedFileSizeLimit::ScopedFileSizeLimit(rlim_t bytes) {
    // Past the limit the system sends SIGXFSZ, which would end the test; ignored, the write fails.
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &oldAction_);
    getrlimit(RLIMIT_FSIZE, &old_);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
}

ScopedFileSizeLimit::~ScopedFileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    sigaction(SIGXFSZ, &oldAction_, nullptr);
}

SmallDisk::SmallDisk() {
    if (!dir_.isValid()) {
        reason_ = QStringLiteral("no temporary folder");
        return;
    }
    QProcess mount;
    mount.start(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                          QStringLiteral("size=64k"), QStringLiteral("tmpfs"), dir_.path()});
    if (!mount.waitForFinished(10000) || mount.exitStatus() != QProcess::NormalExit ||
        mount.exitCode() != 0) {
        reason_ = QStringLiteral("cannot mount a small filesystem here: ") +
                  QString::fromLocal8Bit(mount.readAllStandardError()).trimmed() + mount.errorString();
        return;
    }
    mounted_ = true;
}

SmallDisk::~SmallDisk() {
    if (mounted_)
        QProcess::execute(QStringLiteral("umount"), {dir_.path()});
}

void SmallDisk::Fill() {
    QFile filler(FilePath(QStringLiteral("filler")));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return;
    const QByteArray block(512, 'x');
    while (filler.write(block) == block.size()) {
    }
    // A last write smaller than a block may still find room.
    while (filler.write("x", 1) == 1) {
    }
}

QStringList SmallDisk::Names() const {
    return QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

} // namespace lintaro::test
