#include "cli/CliSupport.h"

#include <QJsonDocument>

namespace lintaro::test {

QProcessEnvironment cliEnvironment(const QString& locale) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"LANG", "LANGUAGE", "LC_NUMERIC", "LC_TIME", "LC_MEASUREMENT", "LC_MONETARY"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("LC_ALL"), locale);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return env;
}

QString cliProgram() {
    return QStringLiteral(LINTARO_BIN_DIR "/lintaro-cli");
}

CliRun cli(const QStringList& args, const QString& locale) {
    QProcess p;
    p.setProcessEnvironment(cliEnvironment(locale));
    p.start(cliProgram(), args);
    p.waitForFinished(600000);
    return {p.exitCode(), p.exitStatus() == QProcess::CrashExit, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

QString sample(const QString& name) {
    return QStringLiteral(LINTARO_BIN_DIR "/samples/") + name;
}

const QStringList& fastCalculation() {
    static const QStringList args = {"--deterministic", "--reduction-time", "0,1"};
    return args;
}

QJsonObject summaryJson(const QString& order) {
    const CliRun run = cli({"summary", order, "--json"});
    return QJsonDocument::fromJson(run.out.toUtf8()).object();
}

} // namespace lintaro::test
