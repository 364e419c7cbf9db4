#include "cli/OutputTarget.h"

#include "cli/Command.h"
#include "foundation/WriteTarget.h"

namespace lintaro::cli {

QString RequireOutputTarget(const QString& path) {
    if (path.isEmpty())
        throw UsageError(QStringLiteral("give the name of the file to write"));
    const QString target = FollowedWriteTarget(path);
    RequireTargetFolder(target);
    if (const QString reason = NotARegularFileReason(target); !reason.isEmpty())
        throw OutputError(target == path ? reason : QStringLiteral("%1 (through %2)").arg(reason, path));
    return target;
}

} // namespace lintaro::cli
