#include "foundation/BarRecord.h"
#include "foundation/ConversionError.h"
#include "foundation/TextUtils.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <vector>

using namespace lintaro;

namespace {

struct TextRow {
    const char* input;
    const char* expected;
};

TEST(BarRecord, NormalizeBarList) {
    const std::vector<TextRow> rows = {
        {"", "||"},    {"|", "||"},  {"||", "||"},       {"a|b", "|a|b|"}, {"|a", "|a|"},
        {"a|", "|a|"}, {"a", "|a|"}, {"|a|b|", "|a|b|"}, {"|||", "|||"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(NormalizeBarList(QString::fromUtf8(row.input)), QString::fromUtf8(row.expected))
            << row.input;
}

TEST(BarRecord, BarFieldCount) {
    const std::vector<std::pair<const char*, int>> rows = {
        {"|1|abc||7|", 4}, {"", 1}, {"|", 1}, {"||", 1}, {"|a|b|", 2}, {"a|b", 2}, {"|||", 2}, {"a", 1},
    };
    for (const auto& [input, count] : rows)
        EXPECT_EQ(BarFieldCount(QString::fromUtf8(input)), count) << input;
}

struct FieldRow {
    const char* record;
    int index;
    const char* expected;
};

TEST(BarRecord, GetBarField) {
    const std::vector<FieldRow> rows = {
        {"|1|abc||7|", 0, "1"},
        {"|1|abc||7|", 1, "abc"},
        {"|1|abc||7|", 2, ""},
        {"|1|abc||7|", 3, "7"},
        {"|1|abc||7|", 4, ""},
        {"|1|abc||7|", 5, ""},
        {"|1|abc||7|", -1, ""},
        {"a|b", 0, "a"},
        {"a|b", 1, "b"},
        {"a|b", 2, ""},
        {"", 0, ""},
        {"|", 0, ""},
        {"x", 0, "x"},
        {"|č;ž|2|", 0, "č;ž"},
        {"||x|", 1, "x"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(GetBarField(QString::fromUtf8(row.record), row.index), QString::fromUtf8(row.expected))
            << row.record << " [" << row.index << "]";
}

struct JoinRow {
    const char* a;
    const char* b;
    const char* expected;
};

TEST(BarRecord, JoinBarLists) {
    const std::vector<JoinRow> rows = {
        {"", "a|b", "|a|b|"},    {"", "", "||"},     {"|a|", "|b|", "|a|b|"}, {"a", "b", "|a|b|"},
        {"|a|b|", "", "|a|b||"}, {"|", "x", "||x|"}, {"|a|", "|", "|a||"},    {"a|b", "c|d", "|a|b|c|d|"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(JoinBarLists(QString::fromUtf8(row.a), QString::fromUtf8(row.b)),
                  QString::fromUtf8(row.expected))
            << row.a << " + " << row.b;
}

TEST(BarRecord, JoinedFieldsReadBack) {
    const QString joined = JoinBarLists(QStringLiteral("|1|abc|"), QStringLiteral("|7|"));
    EXPECT_EQ(BarFieldCount(joined), 3);
    EXPECT_EQ(GetBarField(joined, 2), QStringLiteral("7"));
}

// Text functions

struct ReplaceRow {
    const char* text;
    const char* find;
    const char* repl;
    const char* expected;
};

TEST(BarRecordTextUtils, ReplaceAll) {
    const std::vector<ReplaceRow> rows = {
        {"a,,,,b", ",,", ",", "a,b"},        // searched from the start again after each replacement
        {"aab", "ab", "b", "b"},             // a replacement completing a new occurrence
        {"xyz", "q", "r", "xyz"},            //
        {"a\r\nb\r\n", "\r\n", "¶", "a¶b¶"}, //
        {"abc", "b", "bb", "abbc"},          // repl contains find: replaced once, left to right
        {"abc", "", "x", "abc"},             // empty find
        {"", "a", "b", ""},                  //
        {"ABab", "ab", "-", "AB-"},          // case matters
    };
    for (const auto& row : rows)
        EXPECT_EQ(
            ReplaceAll(QString::fromUtf8(row.text), QString::fromUtf8(row.find), QString::fromUtf8(row.repl)),
            QString::fromUtf8(row.expected))
            << row.text;
}

TEST(BarRecordTextUtils, PadLeft) {
    EXPECT_EQ(PadLeft(QStringLiteral("7"), u'0', 5), QStringLiteral("00007"));
    EXPECT_EQ(PadLeft(QStringLiteral("1234"), u'0', 3), QStringLiteral("1234"));
    EXPECT_EQ(PadLeft(QStringLiteral("12"), u' ', 2), QStringLiteral("12"));
    EXPECT_EQ(PadLeft(QString(), u'x', 2), QStringLiteral("xx"));
    EXPECT_EQ(PadLeft(QStringLiteral("a"), u'x', -1), QStringLiteral("a"));
}

TEST(BarRecordTextUtils, StrToHex) {
    EXPECT_EQ(StrToHex(QStringLiteral("AZ"), QString()), QStringLiteral("415A"));
    EXPECT_EQ(StrToHex(QStringLiteral("AZ"), QStringLiteral(" ")), QStringLiteral("41 5A"));
    EXPECT_EQ(StrToHex(QString(), QStringLiteral(" ")), QString());
    EXPECT_EQ(StrToHex(QStringLiteral("č"), QStringLiteral("-")), QStringLiteral("C4-8D"));
    EXPECT_EQ(BytesToHex(QByteArray("\x00\xff\x0a", 3), QStringLiteral(", ")), QStringLiteral("00, FF, 0A"));
}

TEST(BarRecordTextUtils, HexToStr) {
    EXPECT_EQ(HexToStr(QStringLiteral("41 5A"), QStringLiteral(" ")), QStringLiteral("AZ"));
    EXPECT_EQ(HexToStr(QStringLiteral("415A4"), QString()), QStringLiteral("AZ"))
        << "final single digit ignored";
    EXPECT_EQ(HexToStr(QStringLiteral("4a6B"), QString()), QStringLiteral("Jk"));
    EXPECT_EQ(HexToStr(QStringLiteral("C4::8D"), QStringLiteral("::")), QStringLiteral("č"));
    EXPECT_EQ(HexToBytes(QStringLiteral("00-FF"), QStringLiteral("-")), QByteArray("\x00\xff", 2));
    const QString text = QStringLiteral("Řez 12|x");
    EXPECT_EQ(HexToStr(StrToHex(text, QStringLiteral(" ")), QStringLiteral(" ")), text);
}

TEST(BarRecordTextUtils, HexToStrThrowsOnBadPair) {
    EXPECT_THROW(HexToStr(QStringLiteral("G1"), QString()), ConversionError);
    EXPECT_THROW(HexToStr(QStringLiteral("414Z"), QString()), ConversionError);
    EXPECT_THROW(HexToStr(QStringLiteral("41 5A"), QString()), ConversionError)
        << "blank kept without separator";
    EXPECT_THROW(HexToBytes(QStringLiteral("0x41"), QString()), ConversionError);
    EXPECT_NO_THROW(HexToStr(QStringLiteral("41Z"), QString())) << "a final single character is never read";
}

} // namespace
