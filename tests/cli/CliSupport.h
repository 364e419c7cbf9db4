#pragma once
// Running lintaro-cli as a user does, under a fixed locale, and reading what it wrote.
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace lintaro::test {

struct CliRun {
    int code = -1;
    bool crashed = false; // ended by a signal
    QString out;
    QString err;
};

// The environment of every run: the "." locale of C.UTF-8 unless `locale` names another.
QProcessEnvironment cliEnvironment(const QString& locale = QStringLiteral("C.UTF-8"));
CliRun cli(const QStringList& args, const QString& locale = QStringLiteral("C.UTF-8"));
QString cliProgram();
// A shipped sample beside the program.
QString sample(const QString& name);
// Quick and the same on every machine.
const QStringList& fastCalculation();
// `summary --json` of an order file.
QJsonObject summaryJson(const QString& order);

} // namespace lintaro::test
