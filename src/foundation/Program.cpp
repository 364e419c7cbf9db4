#include "foundation/Program.h"

#include "foundation/Files.h"
#include "lintaro/Version.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace lintaro {

namespace {
struct TProgramValues {
    QString programDir;
    QString tempDir;
    QString dataDir;
    TVersionInfo version;
    TINI texts;
    TINI reportTemplates;
    TINI htmlTemplates;
    TPictureList pictures;
};

TProgramValues& values() {
    static TProgramValues v;
    return v;
}

QString executableDir() {
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    const QFileInfo self(QStringLiteral("/proc/self/exe"));
    return self.canonicalFilePath().isEmpty() ? QDir::currentPath() : QFileInfo(self.canonicalFilePath()).path();
}

QString findDataDir(const QString& programDir) {
    const QString marker = QStringLiteral("LNTR.TXS");
    if (QFileInfo::exists(programDir + marker))
        return programDir;
    const QString installed = QDir::cleanPath(programDir + QStringLiteral("../share/lintaro")) + u'/';
    if (QFileInfo::exists(installed + marker))
        return installed;
    return programDir;
}

TVersionInfo builtVersion() {
    TVersionInfo v;
    v.Major = LINTARO_VERSION_MAJOR;
    v.Minor = LINTARO_VERSION_MINOR;
    v.Release = LINTARO_VERSION_RELEASE;
    v.Build = LINTARO_VERSION_BUILD;
    v.VersionText = QStringLiteral("%1.%2.%3  (%4 %5)")
                        .arg(v.Major)
                        .arg(v.Minor)
                        .arg(v.Release)
                        .arg(QString::fromUtf8("sestavení"))
                        .arg(v.Build);
    v.ProductName = QStringLiteral("Lintaro");
    v.Comments = QStringLiteral("Cutting plans for boards, glass, sheet metal and plastics");
    return v;
}
} // namespace

QString TempDirFromEnvironment() {
    for (const char* name : {"TEMP", "TMPDIR"}) {
        const QString value = qEnvironmentVariable(name);
        if (!value.isEmpty())
            return IncludeTrailingSlash(value);
    }
    return QStringLiteral("/tmp/");
}

void InitProgramValues(const TStartupOptions& options) {
    TProgramValues& v = values();
    v.programDir = IncludeTrailingSlash(options.programDir.isEmpty() ? executableDir() : options.programDir);
    v.tempDir = TempDirFromEnvironment();
    if (!QFileInfo(v.tempDir).isDir())
        ForceDirectories(v.tempDir);
    v.version = builtVersion();
    v.dataDir = options.dataDir.isEmpty() ? findDataDir(v.programDir) : IncludeTrailingSlash(options.dataDir);

    v.texts = TINI();
    v.texts.LoadFromFile(v.dataDir + QStringLiteral("LNTR.TXS"));
    v.reportTemplates = TINI();
    v.reportTemplates.LoadFromFile(v.dataDir + QStringLiteral("LNTR.PRS"));
    v.htmlTemplates = TINI();
    v.htmlTemplates.LoadFromFile(v.dataDir + QStringLiteral("LNTR.HTS"));
    v.pictures.Clear();
    v.pictures.LoadFromFiles(v.dataDir + QStringLiteral("LNTR.PIS"), v.dataDir + QStringLiteral("LNTR.PCS"));

    // The application-data folder is made at start, though nothing is kept in it yet.
    QString appData = SpecialFolder(sfCommonAppData);
    if (appData.isEmpty())
        appData = SpecialFolder(sfUserAppData);
    if (!appData.isEmpty())
        ForceDirectories(appData + v.version.ProductName);
}

const QString& ProgramDir() { return values().programDir; }
const QString& TempDir() { return values().tempDir; }
const QString& DataDir() { return values().dataDir; }
const TVersionInfo& Version() { return values().version; }
TINI& Texts() { return values().texts; }
TINI& ReportTemplates() { return values().reportTemplates; }
TINI& HtmlTemplates() { return values().htmlTemplates; }
TPictureList& Pictures() { return values().pictures; }

QString GetText(const QString& section, const QString& key) { return values().texts.ReadString(section, key); }
QImage FindPicture(const QString& name) { return values().pictures.Find(name); }

void SetTempDir(const QString& dir) { values().tempDir = IncludeTrailingSlash(dir); }

} // namespace lintaro
