#include "model/Address.h"

#include "foundation/Ini.h"
#include "foundation/TextUtils.h"

namespace lintaro {

namespace {

// The twelve stored keys in their fixed order, with the property each one sets ("Name" is the caption).
struct TAddressKey {
    const char* key;
    const char* prop;
    bool multiLine;
};
constexpr TAddressKey kKeys[] = {
    {"Name", "CAPTION", false},
    {"Street", "STREET", false},
    {"ZIP", "ZIP", false},
    {"Town", "TOWN", false},
    {"INO", "INO", false},
    {"TIN", "TIN", false},
    {"IsNotVATPayer", "ISNOTVATPAYER", false},
    {"Person", "PERSON", false},
    {"Phone", "PHONE", false},
    {"Email", "EMAIL", false},
    {"WWW", "WWW", false},
    {"Note", "NOTE", true},
};

} // namespace

TAddress::TAddress(TComponent* owner) : TDataComponent(owner) {
    TAddress::InitDefaults();
}

void TAddress::InitDefaults() {
    TDataComponent::InitDefaults(); // empties the caption
    street_.clear();
    zip_.clear();
    town_.clear();
    ino_.clear();
    tin_.clear();
    isNotVATPayer_ = false;
    person_.clear();
    phone_.clear();
    email_.clear();
    www_.clear();
    note_.clear();
}

void TAddress::AssignTo(TComponent* dest) const {
    TDataComponent::AssignTo(dest);
    if (auto* d = dynamic_cast<TAddress*>(dest)) {
        d->street_ = street_;
        d->zip_ = zip_;
        d->town_ = town_;
        d->ino_ = ino_;
        d->tin_ = tin_;
        d->isNotVATPayer_ = isNotVATPayer_;
        d->person_ = person_;
        d->phone_ = phone_;
        d->email_ = email_;
        d->www_ = www_;
        d->note_ = note_;
    }
}

QString TAddress::GetPropAsString(const QString& name) const {
    const QString key = KeyOf(name);
    if (key == QLatin1String("STREET"))
        return street_;
    if (key == QLatin1String("ZIP"))
        return zip_;
    if (key == QLatin1String("TOWN"))
        return town_;
    if (key == QLatin1String("INO"))
        return ino_;
    if (key == QLatin1String("TIN"))
        return tin_;
    if (key == QLatin1String("ISNOTVATPAYER"))
        return isNotVATPayer_ ? QStringLiteral("1") : QStringLiteral("0");
    if (key == QLatin1String("PERSON"))
        return person_;
    if (key == QLatin1String("PHONE"))
        return phone_;
    if (key == QLatin1String("EMAIL"))
        return email_;
    if (key == QLatin1String("WWW"))
        return www_;
    if (key == QLatin1String("NOTE"))
        return note_;
    return TDataComponent::GetPropAsString(name);
}

void TAddress::SetPropAsString(const QString& name, const QString& value) {
    const QString key = KeyOf(name);
    if (key == QLatin1String("STREET"))
        SetStreet(value);
    else if (key == QLatin1String("ZIP"))
        SetZIP(value);
    else if (key == QLatin1String("TOWN"))
        SetTown(value);
    else if (key == QLatin1String("INO"))
        SetINO(value);
    else if (key == QLatin1String("TIN"))
        SetTIN(value);
    else if (key == QLatin1String("ISNOTVATPAYER"))
        SetIsNotVATPayer(value == QLatin1String("1"));
    else if (key == QLatin1String("PERSON"))
        SetPerson(value);
    else if (key == QLatin1String("PHONE"))
        SetPhone(value);
    else if (key == QLatin1String("EMAIL"))
        SetEmail(value);
    else if (key == QLatin1String("WWW"))
        SetWWW(value);
    else if (key == QLatin1String("NOTE"))
        SetNote(value);
    else
        TDataComponent::SetPropAsString(name, value);
}

void TAddress::setText(QString& field, const QString& value, const char* propName) {
    if (field == value)
        return;
    field = value;
    Announce(QString::fromLatin1(propName));
    SetModified(true);
}

void TAddress::SetStreet(const QString& value) {
    setText(street_, value, "Street");
}
void TAddress::SetZIP(const QString& value) {
    setText(zip_, value, "ZIP");
}
void TAddress::SetTown(const QString& value) {
    setText(town_, value, "Town");
}
void TAddress::SetINO(const QString& value) {
    setText(ino_, value, "INO");
}
void TAddress::SetTIN(const QString& value) {
    setText(tin_, value, "TIN");
}
void TAddress::SetPerson(const QString& value) {
    setText(person_, value, "Person");
}
void TAddress::SetPhone(const QString& value) {
    setText(phone_, value, "Phone");
}
void TAddress::SetEmail(const QString& value) {
    setText(email_, value, "Email");
}
void TAddress::SetWWW(const QString& value) {
    setText(www_, value, "WWW");
}
void TAddress::SetNote(const QString& value) {
    setText(note_, value, "Note");
}

void TAddress::SetIsNotVATPayer(bool value) {
    if (isNotVATPayer_ == value)
        return;
    isNotVATPayer_ = value;
    Announce(QStringLiteral("IsNotVATPayer"));
    SetModified(true);
}

void TAddress::SaveToStrings(QStringList& lines) const {
    // Written line by line rather than through the key-deleting write, so that every key is present,
    // empty ones included.
    lines.clear();
    for (const TAddressKey& k : kKeys) {
        QString value = GetPropAsString(QString::fromLatin1(k.prop));
        if (k.multiLine)
            value = EncodeLineBreaks(value);
        lines.append(QString::fromLatin1(k.key) + u'=' + value);
    }
}

void TAddress::LoadFromStrings(const QStringList* lines) {
    Clear();
    if (!lines)
        return;
    for (const TAddressKey& k : kKeys) {
        QString value = ReadValue(*lines, QString::fromLatin1(k.key));
        if (k.multiLine)
            value = DecodeLineBreaks(value);
        SetPropAsString(QString::fromLatin1(k.prop), value);
    }
}

} // namespace lintaro
