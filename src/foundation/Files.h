#pragma once
// Folders and file names of the program: the settings file, temporary files, special folders.
// Paths use "/" and folders end with "/".
#include <QString>

namespace lintaro {

// The settings file shared by the desktop program and the batch tool: the program's folder +
// "lintaro.INI", or the same name in the user's config folder when the program's folder is not
// writable. SetIniFileNameOverride (the batch tool's --settings) replaces it.
QString IniFileName();
void SetIniFileNameOverride(const QString& fileName);

// A name for a new temporary file "~LN" + five digits + Ext in TempDir; the file is not created.
QString TempFileName(const QString& ext);
// Cuts everything from the last "." on, wherever it stands; a name without "." is unchanged.
QString StripExtension(const QString& name);
// Creates every folder along the path; true when the last one exists or was made.
bool ForceDirectories(const QString& path);

enum TSpecialFolder {
    sfUserAppData,   // the user's data folder (XDG data home)
    sfCommonAppData, // a folder shared by all users: none on this platform
    sfUserConfig,    // the user's config folder (XDG config home)
};
// The folder with a trailing "/", or empty when the platform has none.
QString SpecialFolder(TSpecialFolder id);

// Adds a trailing "/" to a non-empty path that lacks one.
QString IncludeTrailingSlash(const QString& path);

} // namespace lintaro
