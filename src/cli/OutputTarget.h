#pragma once
// Where a verb writes its result. Checked before any work is done: the folder must exist, and a
// name that exists must be a regular file (symbolic links are followed), so a device, a pipe or a
// folder is never replaced by a file. The writes themselves go through WriteFileAtomically, which
// replaces the file only once the whole result has reached the disk.
#include "cli/CommandLine.h"

#include <QString>

namespace lintaro::cli {

// The output cannot be written: the operation fails (exit code 1) with one line for stderr.
class OutputError : public UsageError {
public:
    using UsageError::UsageError;
};

// The file a write to path reaches (links followed); throws InputError when its folder does not
// exist, OutputError when it exists and is not a regular file.
QString RequireOutputTarget(const QString& path);

} // namespace lintaro::cli
