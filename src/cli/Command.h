#pragma once
// One verb of lintaro-cli, and the session every verb runs in: the start-up values, the settings,
// the current material and order registered with the application links, as the window would.
// A verb returns the exit code: 0 success, 1 the operation ran but reports failure, 2 bad usage or
// input (UsageError or InputError with one line for stderr; nothing is written then).
#include "cli/CommandLine.h"

#include <QString>
#include <QTextStream>

#include <memory>

namespace lintaro {
class TMaterial;
class TOrder;
class TSetup;
class VirtualClock;
} // namespace lintaro

namespace lintaro::cli {

// The virtual clock's default pace: about what this machine expands in a real second.
constexpr double kDefaultExpansionsPerSecond = 500000;

class InputError : public UsageError {
public:
    using UsageError::UsageError;
};

class TSession {
public:
    TSession();
    ~TSession();
    // Applies --data-dir, --settings and --reduction-time, in that order.
    void ApplyCommonOptions(const TCommandLine& line);
    // Installs the virtual clock of --deterministic[=N].
    void ApplyDeterministic(const TCommandLine& line);
    // Loads an order file; throws InputError with the reason when it is refused.
    void LoadOrder(const QString& path);
    // Loads a material file into the current material; throws InputError when refused.
    void LoadMaterial(const QString& path);

    TSetup& Setup() const { return *setup_; }
    TMaterial& Material() const { return *material_; }
    TOrder& Order() const { return *order_; }

private:
    TSetup* setup_ = nullptr;
    std::unique_ptr<TMaterial> material_;
    std::unique_ptr<TOrder> order_;
    std::unique_ptr<VirtualClock> clock_;
};

class TCommand {
public:
    virtual ~TCommand() = default;
    virtual QString Name() const = 0;
    virtual QList<TOptionSpec> Options() const = 0;
    virtual int Run(TSession& session, const TCommandLine& line, QTextStream& out) = 0;
};

// The options every verb takes.
QList<TOptionSpec> CommonOptions();
// Fails with a usage error unless exactly `count` positional arguments were given.
void RequirePositionals(const TCommandLine& line, int count, const QString& usage);
// Fails with an input error when the file does not exist or is not a readable file.
void RequireReadableFile(const QString& path);

std::unique_ptr<TCommand> MakeCalculateCommand();
std::unique_ptr<TCommand> MakeSummaryCommand();
std::unique_ptr<TCommand> MakeExportHtmlCommand();
std::unique_ptr<TCommand> MakeExportCsvCommand();
std::unique_ptr<TCommand> MakeDrawCommand();

} // namespace lintaro::cli
