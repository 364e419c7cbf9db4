#pragma once
// The arguments of one lintaro-cli run: the verb, the positional arguments and the options.
// Parse reports bad usage as a UsageError with the one line the user sees.
#include <QMap>
#include <QString>
#include <QStringList>

#include <stdexcept>

namespace lintaro::cli {

class UsageError : public std::runtime_error {
public:
    explicit UsageError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};

struct TOptionSpec {
    QString name;               // without the leading "--"
    bool takesValue;            // "--name VALUE" or "--name=VALUE"
    bool valueOptional = false; // "--name" alone or "--name=VALUE"
};

class TCommandLine {
public:
    // Throws UsageError on an option the verb does not know or a value that is missing.
    static TCommandLine Parse(const QStringList& arguments, const QList<TOptionSpec>& specs);

    const QStringList& Positionals() const { return positionals_; }
    bool Has(const QString& option) const { return options_.contains(option); }
    QString Value(const QString& option) const { return options_.value(option); }

private:
    QStringList positionals_;
    QMap<QString, QString> options_;
};

} // namespace lintaro::cli
