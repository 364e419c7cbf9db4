#pragma once
// The process-wide values and stores, set once at start in this order: program folder, temporary
// folder, version values, then the text, report-template and HTML-template stores and the pictures
// from the data files. A missing data file leaves its store empty; the program starts anyway.
#include "foundation/Ini.h"
#include "foundation/Pictures.h"

#include <QString>

namespace lintaro {

struct TVersionInfo {
    int Major = 0;
    int Minor = 0;
    int Release = 0;
    int Build = 0;
    QString VersionText; // "1.0.8  (sestavení 1017)"
    QString ProductName;
    QString Comments;
};

struct TStartupOptions {
    QString programDir; // empty: the executable's folder
    QString dataDir;    // empty: where LNTR.TXS is found beside the program
};

// Runs the start-up sequence of the process-wide values. May be called again (tests, the batch
// tool's --data-dir); the stores are then reloaded.
void InitProgramValues(const TStartupOptions& options = {});

const QString& ProgramDir();
const QString& TempDir();
// The folder of the shipped data files (LNTR.*): the program's folder in a build tree, or
// ../share/lintaro/ of an installed program.
const QString& DataDir();
const TVersionInfo& Version();
TINI& Texts();
TINI& ReportTemplates();
TINI& HtmlTemplates();
TPictureList& Pictures();

// A shipped text by section and key; empty when missing.
QString GetText(const QString& section, const QString& key);
QImage FindPicture(const QString& name);

// For tests: point the temporary folder elsewhere.
void SetTempDir(const QString& dir);
// The folder of the temporary files: TEMP, else TMPDIR, else /tmp, with a trailing "/".
QString TempDirFromEnvironment();

} // namespace lintaro
