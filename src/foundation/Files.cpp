#include "foundation/Files.h"

#include "foundation/Program.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace lintaro {

namespace {
QString g_iniOverride;
const QString kIniName = QStringLiteral("lintaro.INI");
} // namespace

QString IncludeTrailingSlash(const QString& path) {
    if (path.isEmpty() || path.endsWith(u'/'))
        return path;
    return path + u'/';
}

void SetIniFileNameOverride(const QString& fileName) { g_iniOverride = fileName; }

QString IniFileName() {
    if (!g_iniOverride.isEmpty())
        return g_iniOverride;
    const QString programDir = ProgramDir();
    if (!programDir.isEmpty()) {
        const QFileInfo dir(programDir);
        const QFileInfo file(programDir + kIniName);
        if (dir.isWritable() && (!file.exists() || file.isWritable()))
            return programDir + kIniName;
    }
    return SpecialFolder(sfUserConfig) + QStringLiteral("Lintaro/") + kIniName;
}

QString TempFileName(const QString& ext) {
    QString e = ext.isEmpty() ? QStringLiteral(".TMP") : ext;
    if (!e.startsWith(u'.'))
        e.prepend(u'.');
    QString name;
    for (int n = 0; n <= 99999; ++n) {
        name = TempDir() + QStringLiteral("~LN") + QStringLiteral("%1").arg(n, 5, 10, QLatin1Char('0')) + e;
        if (!QFileInfo::exists(name))
            break;
    }
    return name;
}

QString StripExtension(const QString& name) {
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? name : name.left(dot);
}

bool ForceDirectories(const QString& path) {
    if (path.isEmpty())
        return false;
    bool ok = false;
    QDir root;
    for (qsizetype i = 1; i <= path.size(); ++i) {
        if (i < path.size() && path[i] != u'/')
            continue;
        const QString prefix = path.left(i);
        ok = QFileInfo(prefix).isDir() || root.mkdir(prefix);
    }
    return ok;
}

QString SpecialFolder(TSpecialFolder id) {
    QString path;
    switch (id) {
    case sfUserAppData:
        path = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        break;
    case sfCommonAppData:
        break;
    case sfUserConfig:
        path = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
        break;
    }
    return IncludeTrailingSlash(path);
}

} // namespace lintaro
