#include "model/Address.h"
#include "foundation/TextUtils.h"

#include "foundation/Ini.h"
#include "platform/Locale.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QStringList>

using namespace lintaro;

namespace {

// Owns an address, as the order and the setup do, and logs the property names the address announces.
class TAddressOwner : public TDataComponent {
    LINTARO_COMPONENT(TAddressOwner)
public:
    explicit TAddressOwner(TComponent* owner = nullptr) : TDataComponent(owner) {
        address = new TAddress(this);
    }
    bool DataChangeStep(TComponent* source, TComponent* sender, int phase, const QString& prop) override {
        if (phase == 1 && source == address && prop != QLatin1String("Modified"))
            log << prop;
        return TDataComponent::DataChangeStep(source, sender, phase, prop);
    }
    TAddress* address = nullptr;
    QStringList log;
};

class AddressTest : public ::testing::Test {
protected:
    void SetUp() override { test::initProgramForTests(); }
    ScopedLocale guard{Locale::czech()};
};

const QString kMark = QString(QChar(0x00B6)); // the stored form of a line break

TEST_F(AddressTest, EmptyAddressWritesAllTwelveKeysInOrder) {
    TAddress address;
    QStringList lines{QStringLiteral("Stale=1"), QStringLiteral("Name=old")};
    address.SaveToStrings(lines);
    const QStringList expected{"Name=",           "Street=", "ZIP=",   "Town=",  "INO=", "TIN=",
                               "IsNotVATPayer=0", "Person=", "Phone=", "Email=", "WWW=", "Note="};
    EXPECT_EQ(lines, expected);
}

TEST_F(AddressTest, FilledAddressRoundTripsThroughAnIniFile) {
    TAddress address;
    address.SetCaption(QStringLiteral("Truhlářství Novák"));
    address.SetStreet(QStringLiteral("Dlouhá 12"));
    address.SetZIP(QStringLiteral("602 00"));
    address.SetTown(QStringLiteral("Brno"));
    address.SetINO(QStringLiteral("12345678"));
    address.SetTIN(QStringLiteral("CZ12345678"));
    address.SetIsNotVATPayer(true);
    address.SetPerson(QStringLiteral("Jan Novák"));
    address.SetPhone(QStringLiteral("+420 123 456 789"));
    address.SetEmail(QStringLiteral("jan@example.cz"));
    address.SetWWW(QStringLiteral("www.example.cz"));
    address.SetNote(QStringLiteral("a=b\r\nsecond\nthird\rfourth"));

    TINI ini;
    address.SaveToStrings(ini.Section(QStringLiteral("Customer")));
    EXPECT_EQ(ReadValue(*ini.FindSection(QStringLiteral("Customer")), QStringLiteral("Note")),
              QStringLiteral("a=b") + kMark + "second" + kMark + "third" + kMark + "fourth");
    TINI reread;
    reread.LoadFromBytes(ini.ToBytes());

    TAddress copy;
    copy.LoadFromStrings(reread.FindSection(QStringLiteral("customer")));
    const char* names[] = {"CAPTION",       "STREET", "ZIP",   "TOWN",  "INO", "TIN",
                           "ISNOTVATPAYER", "PERSON", "PHONE", "EMAIL", "WWW"};
    for (const char* name : names)
        EXPECT_EQ(copy.GetPropAsString(name), address.GetPropAsString(name)) << name;
    // Every kind of line break comes back as CR LF.
    EXPECT_EQ(copy.Note(), QStringLiteral("a=b\r\nsecond\r\nthird\r\nfourth"));
    EXPECT_TRUE(copy.IsNotVATPayer());
}

TEST_F(AddressTest, LoadingASectionWithoutWWWReadsTheOtherKeys) {
    TAddress address;
    address.SetWWW(QStringLiteral("old.example"));
    address.SetTIN(QStringLiteral("old"));
    const QStringList lines{"Name=Firma",      "Street=Hlavní 1", "ZIP=11000", "Town=Praha",   "INO=1",
                            "IsNotVATPayer=1", "Person=P",        "Phone=2",   "Email=e@x.cz", "Note=x"};
    address.LoadFromStrings(&lines);
    EXPECT_EQ(address.WWW(), QString());
    EXPECT_EQ(address.TIN(), QString()); // missing as well
    EXPECT_EQ(address.Caption(), QStringLiteral("Firma"));
    EXPECT_EQ(address.Street(), QStringLiteral("Hlavní 1"));
    EXPECT_EQ(address.Town(), QStringLiteral("Praha"));
    EXPECT_EQ(address.Email(), QStringLiteral("e@x.cz"));
    EXPECT_EQ(address.Note(), QStringLiteral("x"));
    EXPECT_TRUE(address.IsNotVATPayer());
}

TEST_F(AddressTest, MissingSectionGivesAClearedAddressAndAnnouncesIt) {
    TAddressOwner owner;
    owner.address->SetCaption(QStringLiteral("Firma"));
    owner.address->SetIsNotVATPayer(true);
    owner.address->SetNote(QStringLiteral("n"));
    owner.log.clear();
    owner.address->LoadFromStrings(nullptr);
    EXPECT_EQ(owner.address->Caption(), QString());
    EXPECT_FALSE(owner.address->IsNotVATPayer());
    EXPECT_EQ(owner.address->Note(), QString());
    EXPECT_EQ(owner.log, QStringList{QString()});
}

TEST_F(AddressTest, EmptyCaptionStaysEmpty) {
    TAddress address;
    EXPECT_EQ(address.Caption(), QString());
    EXPECT_EQ(address.DefaultCaption(), QString());
    address.SetCaption(QStringLiteral("Firma"));
    address.SetCaption(QString());
    EXPECT_EQ(address.Caption(), QString());
    address.SetPropAsString(QStringLiteral("Caption"), QString());
    EXPECT_EQ(address.GetPropAsString(QStringLiteral("caption")), QString());
}

TEST_F(AddressTest, IsNotVATPayerIsSetExactlyByOne) {
    struct Row {
        const char* text;
        bool expected;
    };
    const Row rows[] = {{"1", true}, {"0", false}, {"", false}, {" 1", false}, {"true", false}, {"2", false}};
    for (const Row& row : rows) {
        TAddress address;
        address.SetIsNotVATPayer(!row.expected);
        address.SetPropAsString(QStringLiteral("IsNotVATPayer"), QString::fromLatin1(row.text));
        EXPECT_EQ(address.IsNotVATPayer(), row.expected) << row.text;
        EXPECT_EQ(address.GetPropAsString(QStringLiteral("ISNOTVATPAYER")), row.expected ? "1" : "0");

        const QStringList lines{QStringLiteral("IsNotVATPayer=") + QString::fromLatin1(row.text)};
        address.LoadFromStrings(&lines);
        EXPECT_EQ(address.IsNotVATPayer(), row.expected) << row.text;
    }
}

TEST_F(AddressTest, TextPropertiesAnnounceTheirNamesOnlyWhenChanged) {
    const char* props[] = {"Street", "ZIP", "Town", "INO", "TIN", "Person", "Phone", "Email", "WWW", "Note"};
    for (const char* prop : props) {
        TAddressOwner owner;
        const QString name = QString::fromLatin1(prop);
        owner.address->SetPropAsString(name.toLower(), QStringLiteral("value"));
        EXPECT_EQ(owner.address->GetPropAsString(name.toUpper()), QStringLiteral("value")) << prop;
        EXPECT_EQ(owner.log, QStringList{name});
        EXPECT_TRUE(owner.Modified()) << prop;

        owner.SetModified(false);
        owner.log.clear();
        owner.address->SetPropAsString(name, QStringLiteral("value"));
        EXPECT_TRUE(owner.log.isEmpty()) << prop;
        EXPECT_FALSE(owner.Modified()) << prop;
    }
    TAddressOwner owner;
    owner.address->SetIsNotVATPayer(true);
    EXPECT_EQ(owner.log, QStringList{QStringLiteral("IsNotVATPayer")});
}

TEST_F(AddressTest, AssignCopiesEveryProperty) {
    TAddress source;
    source.SetCaption(QStringLiteral("S"));
    source.SetIsNotVATPayer(true);
    const char* names[] = {"STREET", "ZIP", "TOWN", "INO", "TIN", "PERSON", "PHONE", "EMAIL", "WWW", "NOTE"};
    for (const char* name : names)
        source.SetPropAsString(name, QString::fromLatin1(name).toLower());
    TAddress dest;
    dest.Assign(&source);
    QStringList a, b;
    source.SaveToStrings(a);
    dest.SaveToStrings(b);
    EXPECT_EQ(a, b);
    EXPECT_EQ(b.size(), 12);
}

TEST_F(AddressTest, LineBreakEncodingTable) {
    struct Row {
        QString stored;
        QString text;
    };
    const Row rows[] = {
        {QString(), QString()},
        {QStringLiteral("plain"), QStringLiteral("plain")},
        {QStringLiteral("a\r\nb"), QStringLiteral("a") + kMark + "b"},
        {QStringLiteral("a\n\nb"), QStringLiteral("a") + kMark + kMark + "b"},
        {QStringLiteral("a\r\rb"), QStringLiteral("a") + kMark + kMark + "b"},
        {QStringLiteral("\n\r"), kMark + kMark},
        {QStringLiteral("end\r\n"), QStringLiteral("end") + kMark},
    };
    for (const Row& row : rows)
        EXPECT_EQ(EncodeLineBreaks(row.stored), row.text);
    EXPECT_EQ(DecodeLineBreaks(QStringLiteral("a") + kMark + kMark + "b"), QStringLiteral("a\r\n\r\nb"));
}

} // namespace
