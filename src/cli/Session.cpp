#include "cli/Command.h"

#include "calc/Calculator.h"
#include "foundation/Files.h"
#include "foundation/Program.h"
#include "model/ApplicationLinks.h"
#include "model/Material.h"
#include "model/Order.h"
#include "model/Setup.h"
#include "model/Sheets.h"
#include "platform/Clock.h"

#include "cli/PartsCsvCheck.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace lintaro::cli {

QList<TOptionSpec> CommonOptions() {
    return {{"data-dir", true}, {"settings", true}, {"reduction-time", true}};
}

void RequirePositionals(const TCommandLine& line, int count, const TCommand& command) {
    if (line.Positionals().size() != count)
        throw UsageError(QStringLiteral("usage: lintaro-cli %1").arg(command.Synopsis()));
}

void RequireReadableFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        throw InputError(QStringLiteral("%1: no such file").arg(path));
    if (!info.isFile() || !info.isReadable())
        throw InputError(QStringLiteral("%1: not a readable file").arg(path));
}

void RequireTextFile(const QString& path) {
    RequireReadableFile(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw InputError(WithFileName(path, file.errorString()));
    // The start of the file tells a picture or an archive from text.
    if (LooksBinary(file.read(4096)))
        throw InputError(QStringLiteral("%1 is not a text file").arg(path));
}

void RequireTargetFolder(const QString& path) {
    if (!QFileInfo(path).absoluteDir().exists())
        throw InputError(QStringLiteral("%1: the folder does not exist").arg(path));
}

QString WithFileName(const QString& path, const QString& reason) {
    if (reason.contains(path) || reason.contains(QFileInfo(path).fileName()))
        return reason;
    return path + QLatin1String(": ") + reason;
}

QString PlainNumber(long double value) {
    QString text = QString::number(double(value), 'f', 4);
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u'.'))
        text.chop(1);
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

TSession::TSession() = default;

TSession::~TSession() {
    TApplicationLinks::SetOrder(nullptr);
    TApplicationLinks::SetMaterial(nullptr);
    SetCurrentClock(nullptr);
}

void TSession::ApplyCommonOptions(const TCommandLine& line) {
    TStartupOptions startup;
    if (line.Has("data-dir")) {
        const QString dir = line.Value("data-dir");
        if (!QFileInfo(dir).isDir())
            throw InputError(QStringLiteral("%1: no such folder").arg(dir));
        startup.dataDir = dir;
    }
    InitProgramValues(startup);
    if (line.Has("settings")) {
        const QString file = line.Value("settings");
        RequireTextFile(file);
        SetIniFileNameOverride(file);
    }
    setup_ = InitProgramSetup();
    if (line.Has("settings") && !setup_->LoadFromFile(line.Value("settings")))
        throw InputError(QStringLiteral("%1: the settings cannot be read").arg(line.Value("settings")));
    if (line.Has("reduction-time")) {
        const QStringList parts = line.Value("reduction-time").split(u',');
        bool okMin = false, okMax = false;
        const int min = parts.value(0).toInt(&okMin);
        const int max = parts.size() == 2 ? parts.value(1).toInt(&okMax) : 0;
        if (!okMin || !okMax || min < 0 || max <= min || max > 100)
            throw UsageError(
                QStringLiteral("--reduction-time wants MIN,MAX seconds with 0 <= MIN < MAX <= 100"));
        setup_->SetSheetsReductionTimeMin(0);
        setup_->SetSheetsReductionTimeMax(max);
        setup_->SetSheetsReductionTimeMin(min);
    }
    InstallCalculator();
    material_ = std::make_unique<TMaterial>(nullptr);
    material_->CreateNew();
    TApplicationLinks::SetMaterial(material_.get());
    order_ = std::make_unique<TOrder>(nullptr);
    order_->CreateNew();
    TApplicationLinks::SetOrder(order_.get());
}

void TSession::ApplyDeterministic(const TCommandLine& line) {
    if (!line.Has("deterministic"))
        return;
    double rate = kDefaultExpansionsPerSecond;
    if (!line.Value("deterministic").isEmpty()) {
        bool ok = false;
        rate = line.Value("deterministic").toDouble(&ok);
        if (!ok || rate <= 0)
            throw UsageError(
                QStringLiteral("--deterministic=N wants a positive number of expansions per second"));
    }
    clock_ = std::make_unique<VirtualClock>(rate);
    SetCurrentClock(clock_.get());
}

void TSession::WarnIfResultOutOfDate(const char* command, const QString& path) const {
    // A material comes along only when the order names one that was found.
    const TMaterial* material = material_->FileName().isEmpty() ? nullptr : material_.get();
    if (order_->Sheets()->ResultOutOfDate(material))
        QTextStream(stderr) << "lintaro-cli " << command << ": warning: "
                            << WithFileName(path,
                                            QStringLiteral("the calculation result is out of date (the parts "
                                                           "or the material changed after it); calculate "
                                                           "again"))
                            << '\n';
}

void TSession::LoadOrder(const QString& path) {
    RequireTextFile(path);
    if (!order_->LoadFromFile(path)) {
        const QString reason = order_->ErrorString().isEmpty()
                                   ? QStringLiteral("not an order file of this version")
                                   : order_->ErrorString();
        throw InputError(WithFileName(path, reason));
    }
}

void TSession::LoadMaterial(const QString& path) {
    RequireTextFile(path);
    if (!material_->LoadFromFile(path)) {
        const QString reason = material_->ErrorString().isEmpty()
                                   ? QStringLiteral("not a material file of this version")
                                   : material_->ErrorString();
        throw InputError(WithFileName(path, reason));
    }
}

} // namespace lintaro::cli
