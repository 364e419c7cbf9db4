#pragma once
// TAddress: the postal and business address of a company or person: the customer of an order and
// the supplier (the user's own company) of the setup. Caption holds the name; an empty caption stays
// empty. The address owns nothing; its owner (order or setup) frees it.
//
// Stored form: one INI section of twelve keys, written in full, empty values included. The note may
// span several lines; in the section every line break is the single character "¶", read back as
// CR LF. Nothing here throws.
#include "foundation/DataComponent.h"

#include <QString>
#include <QStringList>

namespace lintaro {

class TAddress : public TDataComponent {
    LINTARO_COMPONENT(TAddress)
public:
    explicit TAddress(TComponent* owner = nullptr);

    QString GetPropAsString(const QString& name) const override;
    void SetPropAsString(const QString& name, const QString& value) override;
    void InitDefaults() override;
    void AssignTo(TComponent* dest) const override;
    // Empty: an address without a name has none.
    QString GetDefaultCaption() const override { return QString(); }

    // Empties Lines and writes the twelve keys "Name" … "Note" in their fixed order.
    void SaveToStrings(QStringList& lines) const;
    // Clears the address, then reads the twelve keys through SetPropAsString (a missing key reads as
    // empty). Lines none: the section is missing and the address stays cleared.
    void LoadFromStrings(const QStringList* lines);

    QString Street() const { return street_; }
    void SetStreet(const QString& value);
    QString ZIP() const { return zip_; }
    void SetZIP(const QString& value);
    QString Town() const { return town_; }
    void SetTown(const QString& value);
    QString INO() const { return ino_; }
    void SetINO(const QString& value);
    QString TIN() const { return tin_; }
    void SetTIN(const QString& value);
    bool IsNotVATPayer() const { return isNotVATPayer_; }
    void SetIsNotVATPayer(bool value);
    QString Person() const { return person_; }
    void SetPerson(const QString& value);
    QString Phone() const { return phone_; }
    void SetPhone(const QString& value);
    QString Email() const { return email_; }
    void SetEmail(const QString& value);
    QString WWW() const { return www_; }
    void SetWWW(const QString& value);
    // May hold line breaks.
    QString Note() const { return note_; }
    void SetNote(const QString& value);

    // The one-line stored form of a multi-line text and back: CR LF, LF and CR become "¶"; "¶"
    // becomes CR LF.

private:
    void setText(QString& field, const QString& value, const char* propName);

    QString street_;
    QString zip_;
    QString town_;
    QString ino_;
    QString tin_;
    bool isNotVATPayer_ = false;
    QString person_;
    QString phone_;
    QString email_;
    QString www_;
    QString note_;
};

} // namespace lintaro
