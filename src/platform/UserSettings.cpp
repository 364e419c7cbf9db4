#include "platform/UserSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace lintaro {

namespace {
QString g_fileOverride;

// Value names match without regard to case, as the registry's do; the first spelling found wins.
QString storedName(const QSettings& settings, const QString& name) {
    if (settings.contains(name))
        return name;
    const QStringList keys = settings.childKeys();
    for (const QString& key : keys)
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return key;
    return {};
}
} // namespace

TUserSettings::TUserSettings() = default;

TUserSettings::~TUserSettings() {
    Close();
}

QString TUserSettings::FileName() {
    if (!g_fileOverride.isEmpty())
        return g_fileOverride;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Lintaro/Lintaro.conf");
}

bool TUserSettings::Open(bool create) {
    Close();
    const QString fileName = FileName();
    if (!QFileInfo::exists(fileName)) {
        if (!create)
            return false;
        if (!QDir().mkpath(QFileInfo(fileName).absolutePath()))
            return false;
    }
    settings_ = std::make_unique<QSettings>(fileName, QSettings::IniFormat);
    if (settings_->status() != QSettings::NoError) {
        settings_.reset();
        return false;
    }
    writable_ = create;
    return true;
}

bool TUserSettings::Close() {
    if (!settings_)
        return true;
    bool ok = true;
    if (writable_) {
        settings_->sync();
        ok = settings_->status() == QSettings::NoError;
    }
    settings_.reset();
    writable_ = false;
    return ok;
}

bool TUserSettings::ValueExists(const QString& name) const {
    return settings_ && !storedName(*settings_, name).isEmpty();
}

std::optional<int> TUserSettings::ReadInteger(const QString& name) const {
    if (!ValueExists(name))
        return std::nullopt;
    bool ok = false;
    const int value = settings_->value(storedName(*settings_, name)).toString().trimmed().toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

std::optional<bool> TUserSettings::ReadBool(const QString& name) const {
    if (!ValueExists(name))
        return std::nullopt;
    const QString text = settings_->value(storedName(*settings_, name)).toString().trimmed().toLower();
    if (text == u"true" || text == u"1")
        return true;
    if (text == u"false" || text == u"0")
        return false;
    return std::nullopt;
}

void TUserSettings::WriteInteger(const QString& name, int value) {
    write(name, value);
}

void TUserSettings::WriteBool(const QString& name, bool value) {
    write(name, value);
}

void TUserSettings::write(const QString& name, const QVariant& value) {
    if (!settings_ || !writable_)
        return;
    const QString stored = storedName(*settings_, name);
    if (!stored.isEmpty() && stored != name)
        settings_->remove(stored);
    settings_->setValue(name, value);
}

ScopedUserSettingsFile::ScopedUserSettingsFile(const QString& fileName) : previous_(g_fileOverride) {
    g_fileOverride = fileName;
}

ScopedUserSettingsFile::~ScopedUserSettingsFile() {
    g_fileOverride = previous_;
}

} // namespace lintaro
