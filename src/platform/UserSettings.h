#pragma once
// The user's own values of the program (window position, tip and banner counters, printer choices),
// kept between runs in one INI file of the user's config folder: "Lintaro/Lintaro.conf". The file
// plays the part of the key Software\Brenvik\Lintaro under the current user, with the same value
// names, matched without regard to case; integers and Booleans are stored as text.
//
// Open(false) opens the key for reading only and fails when it does not exist yet; Open(true)
// creates it when missing. Reads of a missing value or of a value of the wrong type give nothing.
// Writes are kept until Close (or destruction), which writes the file beside the old one and
// renames it, so a failed write leaves the previous values intact. Tests point the store at a file
// of their own with ScopedUserSettingsFile.
#include <QString>

#include <memory>
#include <optional>

QT_BEGIN_NAMESPACE
class QSettings;
class QVariant;
QT_END_NAMESPACE

namespace lintaro {

class TUserSettings {
public:
    TUserSettings();
    ~TUserSettings();
    TUserSettings(const TUserSettings&) = delete;
    TUserSettings& operator=(const TUserSettings&) = delete;

    // The file that holds the values: the innermost ScopedUserSettingsFile, else
    // <config folder>/Lintaro/Lintaro.conf.
    static QString FileName();

    // False when the key does not exist and create is false, or the file cannot be read.
    bool Open(bool create);
    bool IsOpen() const { return settings_ != nullptr; }
    // Writes pending values; false when the file could not be written.
    bool Close();

    bool ValueExists(const QString& name) const;
    std::optional<int> ReadInteger(const QString& name) const;
    std::optional<bool> ReadBool(const QString& name) const;
    void WriteInteger(const QString& name, int value);
    void WriteBool(const QString& name, bool value);

private:
    void write(const QString& name, const QVariant& value);

    std::unique_ptr<QSettings> settings_;
    bool writable_ = false;
};

// Points every TUserSettings at another file for its lifetime (nests; restores the previous one).
class ScopedUserSettingsFile {
public:
    explicit ScopedUserSettingsFile(const QString& fileName);
    ~ScopedUserSettingsFile();
    ScopedUserSettingsFile(const ScopedUserSettingsFile&) = delete;
    ScopedUserSettingsFile& operator=(const ScopedUserSettingsFile&) = delete;

private:
    QString previous_;
};

} // namespace lintaro
