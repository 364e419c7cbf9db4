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
    // One warning line on stderr when the loaded order's result no longer fits its parts or the
    // material it brought along: what is printed or exported is the old plan.
    void WarnIfResultOutOfDate(const char* command, const QString& path) const;
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
    // The verb's options, the common ones included; --help is added by the caller.
    virtual QList<TOptionSpec> Options() const = 0;
    // One line of the overview: "calculate ORDER.LNO [options]".
    virtual QString Synopsis() const = 0;
    // The verb's whole help: what it does, its options, examples; the common options and exit
    // codes are added by the caller.
    virtual QString Help() const = 0;
    virtual int Run(TSession& session, const TCommandLine& line, QTextStream& out) = 0;
};

// The options every verb takes.
QList<TOptionSpec> CommonOptions();
// Fails with a usage error unless exactly `count` positional arguments were given; the message
// is the verb's one-line synopsis.
void RequirePositionals(const TCommandLine& line, int count, const TCommand& command);
// Fails with an input error when the file does not exist or is not a readable file.
void RequireReadableFile(const QString& path);
// Fails with an input error unless the file exists, is readable and holds text.
void RequireTextFile(const QString& path);
// Fails with an input error when the folder a result is to be written in does not exist.
void RequireTargetFolder(const QString& path);
// "path: reason", or the reason alone when it names the file already.
QString WithFileName(const QString& path, const QString& reason);
// Numbers for scripts: "12.5", at most four decimals, whatever the locale.
QString PlainNumber(long double value);

std::unique_ptr<TCommand> MakeCalculateCommand();
std::unique_ptr<TCommand> MakeSummaryCommand();
std::unique_ptr<TCommand> MakeExportHtmlCommand();
std::unique_ptr<TCommand> MakeExportCsvCommand();
std::unique_ptr<TCommand> MakeDrawCommand();
std::unique_ptr<TCommand> MakeExportCutlistCommand();
std::unique_ptr<TCommand> MakePrintCommand();
std::unique_ptr<TCommand> MakeWorkshopCommand();

} // namespace lintaro::cli
