#pragma once
// The one exception of the core: a text that cannot be converted to a value, or arithmetic that
// cannot be done (division by zero). The message is the one the user sees; the property that was
// being set keeps its value.
#include <QString>
#include <stdexcept>

namespace lintaro {

class ConversionError : public std::runtime_error {
public:
    explicit ConversionError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const noexcept { return message_; }

private:
    QString message_;
};

} // namespace lintaro
