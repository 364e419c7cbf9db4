#include "cli/CommandLine.h"

namespace lintaro::cli {

TCommandLine TCommandLine::Parse(const QStringList& arguments, const QList<TOptionSpec>& specs) {
    TCommandLine result;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (!arg.startsWith(QLatin1String("--")) || arg == QLatin1String("--")) {
            result.positionals_ << arg;
            continue;
        }
        QString name = arg.mid(2);
        QString value;
        bool hasValue = false;
        const qsizetype eq = name.indexOf(u'=');
        if (eq >= 0) {
            value = name.mid(eq + 1);
            name = name.left(eq);
            hasValue = true;
        }
        const TOptionSpec* option = nullptr;
        for (const TOptionSpec& s : specs)
            if (s.name == name)
                option = &s;
        if (!option)
            throw UsageError(QStringLiteral("unknown option --%1").arg(name));
        if (!option->takesValue && hasValue)
            throw UsageError(QStringLiteral("option --%1 takes no value").arg(name));
        if (option->takesValue && !hasValue && !option->valueOptional) {
            // "--parts --material M.LNM" lacks the file name; taking "--material" for it would
            // only lead to a stranger message later.
            if (i + 1 >= arguments.size() || arguments[i + 1].startsWith(QLatin1String("--")))
                throw UsageError(QStringLiteral("option --%1 needs a value").arg(name));
            value = arguments[++i];
        }
        result.options_.insert(name, value);
    }
    return result;
}

} // namespace lintaro::cli
