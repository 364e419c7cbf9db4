#include "cli/Command.h"

#include "calc/Calculator.h"
#include "foundation/Files.h"
#include "foundation/Program.h"
#include "model/ApplicationLinks.h"
#include "model/Material.h"
#include "model/Order.h"
#include "model/Setup.h"
#include "platform/Clock.h"

#include <QFileInfo>

namespace lintaro::cli {

QList<TOptionSpec> CommonOptions() {
    return {{"data-dir", true}, {"settings", true}, {"reduction-time", true}};
}

void RequirePositionals(const TCommandLine& line, int count, const QString& usage) {
    if (line.Positionals().size() != count)
        throw UsageError(QStringLiteral("usage: lintaro-cli %1").arg(usage));
}

void RequireReadableFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        throw InputError(QStringLiteral("%1: no such file").arg(path));
    if (!info.isFile() || !info.isReadable())
        throw InputError(QStringLiteral("%1: not a readable file").arg(path));
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
        RequireReadableFile(file);
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

void TSession::LoadOrder(const QString& path) {
    RequireReadableFile(path);
    if (!order_->LoadFromFile(path))
        throw InputError(QStringLiteral("%1: %2").arg(path, order_->ErrorString()));
}

void TSession::LoadMaterial(const QString& path) {
    RequireReadableFile(path);
    if (!material_->LoadFromFile(path)) {
        const QString reason = material_->ErrorString().isEmpty()
                                   ? QStringLiteral("not a material file of this version")
                                   : material_->ErrorString();
        throw InputError(QStringLiteral("%1: %2").arg(path, reason));
    }
}

} // namespace lintaro::cli
