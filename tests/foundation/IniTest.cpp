#include "foundation/Ini.h"

#include "platform/Locale.h"
#include "support/TestSupport.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <ostream>
#include <sys/resource.h>
#include <utility>
#include <vector>

using lintaro::IndexOfKey;
using lintaro::Locale;
using lintaro::ReadValue;
using lintaro::ScopedLocale;
using lintaro::TINI;
using lintaro::WriteValue;
using lintaro::test::readFileBytes;
using lintaro::test::writeFileBytes;

namespace {

// Every test runs under the fixed Czech locale, so upper-casing never depends on the machine.
class IniTest : public ::testing::Test {
protected:
    ScopedLocale guard{Locale::czech()};
};

TINI parsed(const QString& text) {
    TINI ini;
    ini.FromText(text);
    return ini;
}

// A device that accepts a fixed number of bytes and then fails, like a full disk; reading always fails.
class FailingDevice : public QIODevice {
public:
    explicit FailingDevice(qint64 capacity) : capacity_(capacity) {}

protected:
    qint64 readData(char*, qint64) override {
        setErrorString(QStringLiteral("read error"));
        return -1;
    }
    qint64 writeData(const char*, qint64 len) override {
        if (written_ + len > capacity_) {
            setErrorString(QStringLiteral("disk full"));
            return -1;
        }
        written_ += len;
        return len;
    }

private:
    qint64 capacity_;
    qint64 written_ = 0;
};

// Makes every file write beyond `bytes` fail, as on a full disk, even for root. The signal the
// kernel sends for it is ignored so that the write just reports the error.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &previous_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
};

// ---- Parsing and building: text in, whole saved text out ----

struct ParseCase {
    const char* name;
    const char* input; // UTF-8
    const char* saved; // UTF-8, exactly as SaveToFile writes it
};

void PrintTo(const ParseCase& c, std::ostream* os) {
    *os << c.name;
}

class IniParseTest : public ::testing::TestWithParam<ParseCase> {
protected:
    ScopedLocale guard{Locale::czech()};
};

TEST_P(IniParseTest, SavesExpectedText) {
    const ParseCase& c = GetParam();
    const TINI ini = parsed(QString::fromUtf8(c.input));
    EXPECT_EQ(ini.ToText(), QString::fromUtf8(c.saved));
    EXPECT_EQ(ini.ToBytes(), QByteArray(c.saved));
}

const ParseCase kParseCases[] = {
    {"Empty", "", ""},
    {"OnlyHeader", "[S]", "[S]\r\n"},
    {"TwoSectionsBlankLineBetweenOnly", "[A]\nK=1\n[B]\nL=2\n", "[A]\r\nK=1\r\n\r\n[B]\r\nL=2\r\n"},
    {"HeadersDifferingInCaseMergeIntoFirst", "[Order]\nA=1\n[Other]\nX=1\n[ORDER]\nB=2\n",
     "[Order]\r\nA=1\r\nB=2\r\n\r\n[Other]\r\nX=1\r\n"},
    {"CzechHeadersDifferingInCaseMerge", "[Šířka]\nA=1\n[ŠÍŘKA]\nB=2\n", "[Šířka]\r\nA=1\r\nB=2\r\n"},
    {"EmptyBracketsAreOrdinaryLine", "[S]\n[]\nA=1\n", "[S]\r\n[]\r\nA=1\r\n"},
    {"UnclosedBracketIsOrdinaryLine", "[S]\n[abc\nabc]\n", "[S]\r\n[abc\r\nabc]\r\n"},
    {"ShortestHeader", "[S]\nA=1\n[x]\n", "[S]\r\nA=1\r\n\r\n[x]\r\n"},
    {"HeaderWithTrailingBlankIsOrdinaryLine", "[S]\n[T] \n", "[S]\r\n[T] \r\n"},
    {"NestedBracketsKeptInName", "[[S]]\nA=1\n", "[[S]]\r\nA=1\r\n"},
    {"NameNotTrimmed", "[ S ]\nA=1\n", "[ S ]\r\nA=1\r\n"},
    {"LinesBeforeFirstHeaderDropped", "lost=1\n; lost too\n[S]\nA=1\n", "[S]\r\nA=1\r\n"},
    {"EmptyLinesSkippedBlankLinesKept", "[S]\n\n   \nA=1\n\n\n[T]\n\n", "[S]\r\n   \r\nA=1\r\n\r\n[T]\r\n"},
    {"CommentsDuplicatesAndPlainLinesKept", "[S]\n; note\nA=1\nA=2\nplain\n",
     "[S]\r\n; note\r\nA=1\r\nA=2\r\nplain\r\n"},
    {"LoneCr", "[S]\rA=1\rB=2\r", "[S]\r\nA=1\r\nB=2\r\n"},
    {"LoneLf", "[S]\nA=1\nB=2\n", "[S]\r\nA=1\r\nB=2\r\n"},
    {"CrLfLoneCrLoneLfMixed", "[S]\r\nA=1\rB=2\nC=3\r\n\r\nD=4", "[S]\r\nA=1\r\nB=2\r\nC=3\r\nD=4\r\n"},
    {"LfCrIsTwoLineEnds", "[S]\n\rA=1\n\rB=2", "[S]\r\nA=1\r\nB=2\r\n"},
    {"FinalLineWithoutTerminatorCounts", "[S]\r\nA=1", "[S]\r\nA=1\r\n"},
    {"ValueWithEqualsKept", "[S]\nA=b=c\n", "[S]\r\nA=b=c\r\n"},
};

INSTANTIATE_TEST_SUITE_P(Ini, IniParseTest, ::testing::ValuesIn(kParseCases),
                         [](const ::testing::TestParamInfo<ParseCase>& info) { return info.param.name; });

// ---- Reading keys in a line list ----

struct ReadCase {
    const char* name;
    std::vector<const char*> lines;
    const char* key;
    const char* value;
    int index;
};

void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << c.name;
}

class IniReadValueTest : public ::testing::TestWithParam<ReadCase> {
protected:
    ScopedLocale guard{Locale::czech()};
};

TEST_P(IniReadValueTest, FindsFirstMatchingKey) {
    const ReadCase& c = GetParam();
    QStringList lines;
    for (const char* line : c.lines)
        lines.append(QString::fromUtf8(line));
    EXPECT_EQ(ReadValue(lines, QString::fromUtf8(c.key)), QString::fromUtf8(c.value));
    EXPECT_EQ(IndexOfKey(lines, QString::fromUtf8(c.key)), c.index);
}

const ReadCase kReadCases[] = {
    {"Exact", {"A=1"}, "A", "1", 0},
    {"KeyInOtherCase", {"Width=10"}, "WIDTH", "10", 0},
    {"CzechKeyInOtherCase", {"Šířka=10"}, "ŠÍŘKA", "10", 0},
    {"FirstOfKeysDifferingInCaseWins", {"x", "a=1", "A=2"}, "A", "1", 1},
    {"ValueKeepsLaterEquals", {"A=b=c"}, "A", "b=c", 0},
    {"KeyIsTextBeforeFirstEquals", {"A=b=c"}, "A=b", "", -1},
    {"BlanksAroundEqualsBelongToKey", {" A = 1"}, "A", "", -1},
    {"BlanksAroundEqualsKept", {" A = 1"}, " A ", " 1", 0},
    {"LineWithoutEqualsHasNoKey", {"A", "A=2"}, "A", "2", 1},
    {"PresentButEmpty", {"A="}, "A", "", 0},
    {"Missing", {"A=1"}, "B", "", -1},
    {"EmptyList", {}, "A", "", -1},
    {"HeaderLikeLineIsPlainLine", {"[A]=1"}, "[a]", "1", 0},
};

INSTANTIATE_TEST_SUITE_P(Ini, IniReadValueTest, ::testing::ValuesIn(kReadCases),
                         [](const ::testing::TestParamInfo<ReadCase>& info) { return info.param.name; });

// ---- Writing keys in a line list ----

TEST_F(IniTest, WriteValueReplacesFirstMatchWithCallersSpelling) {
    QStringList lines{"x", "a=1", "A=2"};
    WriteValue(lines, "A", "9");
    EXPECT_EQ(lines, (QStringList{"x", "A=9", "A=2"}));
}

TEST_F(IniTest, WriteValueAppendsMissingKey) {
    QStringList lines{"; comment", "A=1"};
    WriteValue(lines, "B", "2");
    EXPECT_EQ(lines, (QStringList{"; comment", "A=1", "B=2"}));
}

TEST_F(IniTest, WriteValueEmptyRemovesFirstMatchOnly) {
    QStringList lines{"a=1", "plain", "A=2"};
    WriteValue(lines, "A", "");
    EXPECT_EQ(lines, (QStringList{"plain", "A=2"}));
    EXPECT_EQ(ReadValue(lines, "A"), "2");
    WriteValue(lines, "A", QString());
    EXPECT_EQ(lines, QStringList{"plain"});
    EXPECT_EQ(ReadValue(lines, "A"), "");
}

TEST_F(IniTest, WriteValueEmptyOnMissingKeyChangesNothing) {
    QStringList lines{"A=1", "B"};
    WriteValue(lines, "B", "");
    EXPECT_EQ(lines, (QStringList{"A=1", "B"}));
}

// ---- Sections ----

TEST_F(IniTest, CreatedEmpty) {
    const TINI ini;
    EXPECT_EQ(ini.SectionCount(), 0);
    EXPECT_TRUE(ini.SectionNames().isEmpty());
    EXPECT_TRUE(ini.FileName().isEmpty());
    EXPECT_TRUE(ini.ToText().isEmpty());
}

TEST_F(IniTest, SectionAppendsMissingSectionWithGivenSpelling) {
    TINI ini;
    QStringList& first = ini.Section("Order");
    first.append("A=1");
    ini.Section("Material");
    EXPECT_EQ(&ini.Section("ORDER"), &first);
    EXPECT_EQ(ini.SectionNames(), (QStringList{"Order", "Material"}));
    EXPECT_EQ(ini.SectionCount(), 2);
}

TEST_F(IniTest, FindSectionMatchesWithoutRegardToCase) {
    TINI ini = parsed("[Řezy]\nA=1\n");
    QStringList* lines = ini.FindSection("ŘEZY");
    ASSERT_NE(lines, nullptr);
    EXPECT_EQ(*lines, QStringList{"A=1"});
    EXPECT_EQ(ini.FindSection("řezy"), lines);
    EXPECT_EQ(ini.FindSection("Rezy"), nullptr);
    EXPECT_EQ(ini.FindSection(""), nullptr);
    EXPECT_EQ(std::as_const(ini).FindSection("řezy"), lines);
}

TEST_F(IniTest, SectionLinesAreEditedInPlace) {
    TINI ini = parsed("[S]\nA=1\nB=2\n");
    QStringList& lines = ini.Section("s");
    lines.clear();
    lines.append("C=3");
    EXPECT_EQ(ini.ToText(), "[S]\r\nC=3\r\n");
}

TEST_F(IniTest, SectionPointersStayValidWhileSectionsAreAddedAndErased) {
    TINI ini;
    QStringList* kept = &ini.Section("Kept");
    kept->append("A=1");
    for (int i = 0; i < 200; ++i)
        ini.Section(QStringLiteral("Sheet%1").arg(i)).append("X=1");
    ini.EraseSections("Sheet");
    EXPECT_EQ(ini.FindSection("kept"), kept);
    EXPECT_EQ(*kept, QStringList{"A=1"});
}

TEST_F(IniTest, SectionPointersSurviveMove) {
    TINI ini = parsed("[S]\nA=1\n");
    QStringList* lines = ini.FindSection("S");
    TINI moved = std::move(ini);
    EXPECT_EQ(moved.FindSection("S"), lines);
    EXPECT_EQ(moved.ReadString("S", "A"), "1");
}

TEST_F(IniTest, ReadStringOfMissingSectionOrKeyIsEmptyAndCreatesNothing) {
    const TINI ini = parsed("[S]\nA=1\n");
    EXPECT_EQ(ini.ReadString("S", "A"), "1");
    EXPECT_EQ(ini.ReadString("S", "B"), "");
    EXPECT_EQ(ini.ReadString("T", "A"), "");
    EXPECT_EQ(ini.SectionCount(), 1);
}

TEST_F(IniTest, WriteStringCreatesSectionAtEndAndSetsKey) {
    TINI ini = parsed("[S]\nA=1\n");
    ini.WriteString("T", "B", "2");
    ini.WriteString("s", "a", "3");
    EXPECT_EQ(ini.ToText(), "[S]\r\na=3\r\n\r\n[T]\r\nB=2\r\n");
}

TEST_F(IniTest, WriteStringEmptyDeletesKeyButStillCreatesSection) {
    TINI ini = parsed("[S]\nA=1\nB=2\n");
    ini.WriteString("S", "a", "");
    EXPECT_EQ(ini.ReadString("S", "A"), "");
    ini.WriteString("Empty", "X", "");
    EXPECT_EQ(ini.ToText(), "[S]\r\nB=2\r\n\r\n[Empty]\r\n");
}

TEST_F(IniTest, KeysDifferingInCaseAddressFirstLine) {
    TINI ini = parsed("[S]\nkey=1\nKEY=2\n");
    EXPECT_EQ(ini.ReadString("S", "Key"), "1");
    ini.WriteString("S", "Key", "3");
    EXPECT_EQ(ini.ToText(), "[S]\r\nKey=3\r\nKEY=2\r\n");
}

TEST_F(IniTest, EraseSectionRemovesSectionWithItsLines) {
    TINI ini = parsed("[A]\nK=1\n[B]\nL=2\n[C]\nM=3\n");
    ini.EraseSection("b");
    EXPECT_EQ(ini.ToText(), "[A]\r\nK=1\r\n\r\n[C]\r\nM=3\r\n");
    ini.EraseSection("missing");
    EXPECT_EQ(ini.SectionNames(), (QStringList{"A", "C"}));
    // A new section of the erased name starts empty, at the end.
    ini.Section("B");
    EXPECT_EQ(ini.ToText(), "[A]\r\nK=1\r\n\r\n[C]\r\nM=3\r\n\r\n[B]\r\n");
}

TEST_F(IniTest, EraseSectionsRemovesEveryNameWithPrefix) {
    TINI ini = parsed("[Sheet1]\n[Other]\n[SHEET2]\n[sheet]\n[ASheet]\n[Řez1]\n[ŘEZ2]\n");
    ini.EraseSections("sheet");
    EXPECT_EQ(ini.SectionNames(), (QStringList{"Other", "ASheet", "Řez1", "ŘEZ2"}));
    ini.EraseSections("řez");
    EXPECT_EQ(ini.SectionNames(), (QStringList{"Other", "ASheet"}));
    ini.EraseSections("");
    EXPECT_EQ(ini.SectionCount(), 0);
}

// The locale's own upper-casing decides, not a fixed table: in Turkish "i" upper-cases to "İ".
TEST(IniLocaleTest, NamesFollowLocaleUpperCasing) {
    lintaro::LocaleSettings turkish = Locale::czech();
    turkish.qtLocale = QLocale(QLocale::Turkish, QLocale::Turkey);
    ScopedLocale guard(turkish);
    if (Locale::toUpper("i") != QStringLiteral("İ"))
        GTEST_SKIP() << "this Qt build has no Turkish case mapping";
    const TINI ini = parsed("[ID]\nid=1\n[İD]\nİD=2\n");
    EXPECT_EQ(ini.SectionNames(), (QStringList{"ID", "İD"}));
    EXPECT_EQ(ini.ReadString("id", "id"), "2"); // "id" upper-cases to "İD"
    EXPECT_EQ(ini.ReadString("ID", "İD"), "1");
    EXPECT_EQ(ini.ReadString("ID", "ID"), "");
}

// ---- Bytes: encodings, BOM, NUL ----

TEST_F(IniTest, NulByteEndsText) {
    static const char raw[] = "[S]\r\nA=1\r\nB=2x\0yz\r\nC=3\r\n[T]\r\n";
    TINI ini;
    ini.LoadFromBytes(QByteArray(raw, sizeof raw - 1));
    EXPECT_EQ(ini.ToText(), "[S]\r\nA=1\r\nB=2x\r\n");
}

TEST_F(IniTest, NulCharacterEndsText) {
    const TINI ini = parsed(QStringLiteral("[S]\nA=1") + QChar(u'\0') + QStringLiteral("\nB=2\n"));
    EXPECT_EQ(ini.ToText(), "[S]\r\nA=1\r\n");
}

TEST_F(IniTest, Utf8BomSkipped) {
    TINI ini;
    ini.LoadFromBytes("\xEF\xBB\xBF[Díl]\r\nA=1\r\n");
    EXPECT_EQ(ini.SectionNames(), QStringList{"Díl"});
    EXPECT_FALSE(ini.ToBytes().startsWith("\xEF\xBB\xBF"));
}

TEST_F(IniTest, Windows1250BytesRead) {
    // "[Položka]", "Název=Deska dřevotřísková", "Šíře=Ž" in the Central European Windows code page.
    const QByteArray bytes = "[Polo\x9E"
                             "ka]\r\n"
                             "N\xE1"
                             "zev=Deska d\xF8"
                             "evot\xF8\xEDskov\xE1\r\n"
                             "\x8A\xED\xF8"
                             "e=\x8E\r\n";
    TINI ini;
    ini.LoadFromBytes(bytes);
    EXPECT_EQ(ini.SectionNames(), QStringList{"Položka"});
    EXPECT_EQ(ini.ReadString("POLOŽKA", "NÁZEV"), "Deska dřevotřísková");
    EXPECT_EQ(ini.ReadString("položka", "šíře"), "Ž");
    // Saved again, the text is UTF-8.
    EXPECT_EQ(ini.ToBytes(), "[Položka]\r\nNázev=Deska dřevotřísková\r\nŠíře=Ž\r\n");
}

TEST_F(IniTest, OneInvalidUtf8ByteMakesWholeFileWindows1250) {
    // "ž" once as UTF-8 (C5 BE, in the code page "Ĺľ") and once as the code page byte 9E.
    TINI ini;
    ini.LoadFromBytes("[S]\r\nA=\xC5\xBE\r\nB=\x9E\r\n");
    EXPECT_EQ(ini.ReadString("S", "A"), "Ĺľ");
    EXPECT_EQ(ini.ReadString("S", "B"), "ž");
}

// ---- Files ----

TEST_F(IniTest, SavedTextOfTwoSectionsIsExact) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    TINI ini;
    ini.WriteString("A", "K", "1");
    ini.Section("A").append("; note");
    ini.WriteString("B", "L", "2");
    const QString path = dir.filePath("two.ini");
    ASSERT_TRUE(ini.SaveToFile(path));
    EXPECT_EQ(readFileBytes(path), QByteArray("[A]\r\nK=1\r\n; note\r\n\r\n[B]\r\nL=2\r\n"));
    EXPECT_EQ(ini.FileName(), path);
    EXPECT_TRUE(ini.ErrorString().isEmpty());
}

TEST_F(IniTest, EmptyStorageSavesEmptyFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("empty.ini");
    ASSERT_TRUE(writeFileBytes(path, "[Old]\r\n"));
    TINI ini;
    ASSERT_TRUE(ini.SaveToFile(path));
    EXPECT_EQ(QFileInfo(path).size(), 0);
}

TEST_F(IniTest, CzechTextRoundTripsAsUtf8) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString value = QStringLiteral("Příliš žluťoučký kůň úpěl ďábelské ódy ¶ ĚŠČŘŽÝÁÍÉŮÚ");
    TINI ini;
    ini.WriteString("Materiál", "Název", value);
    const QString path = dir.filePath("czech.lnm");
    ASSERT_TRUE(ini.SaveToFile(path));
    EXPECT_EQ(readFileBytes(path), (QStringLiteral("[Materiál]\r\nNázev=") + value + "\r\n").toUtf8());

    TINI loaded;
    ASSERT_TRUE(loaded.LoadFromFile(path));
    EXPECT_EQ(loaded.ReadString("MATERIÁL", "NÁZEV"), value);
    EXPECT_EQ(loaded.ToText(), ini.ToText());
}

TEST_F(IniTest, LoadFromFileSetsFileNameAndReadsAllLineEnds) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("order.lno");
    ASSERT_TRUE(writeFileBytes(path, "before\n[Order]\r\nCaption=X\rCount=2\n[Items]\r\nItem1=a"));
    TINI ini;
    ASSERT_TRUE(ini.LoadFromFile(path));
    EXPECT_EQ(ini.FileName(), path);
    EXPECT_EQ(ini.ToText(), "[Order]\r\nCaption=X\r\nCount=2\r\n\r\n[Items]\r\nItem1=a\r\n");
}

TEST_F(IniTest, LoadingIntoExistingSectionAppends) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("more.ini");
    ASSERT_TRUE(writeFileBytes(path, "dropped=1\r\n[ORDER]\r\nB=2\r\n[New]\r\nC=3\r\n"));
    TINI ini = parsed("[Order]\nA=1\n[Other]\nX=1\n");
    ASSERT_TRUE(ini.LoadFromFile(path));
    // Lines before the file's first header are dropped although sections exist already.
    EXPECT_EQ(ini.ToText(), "[Order]\r\nA=1\r\nB=2\r\n\r\n[Other]\r\nX=1\r\n\r\n[New]\r\nC=3\r\n");
}

TEST_F(IniTest, EmptyFileNameMeansStoredFileName) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("again.ini");
    TINI ini;
    EXPECT_FALSE(ini.SaveToFile());
    EXPECT_FALSE(ini.LoadFromFile());
    EXPECT_FALSE(ini.ErrorString().isEmpty());
    EXPECT_TRUE(ini.FileName().isEmpty());

    ini.WriteString("S", "A", "1");
    ASSERT_TRUE(ini.SaveToFile(path));
    ini.WriteString("S", "A", "2");
    ASSERT_TRUE(ini.SaveToFile());
    EXPECT_EQ(readFileBytes(path), QByteArray("[S]\r\nA=2\r\n"));
    ASSERT_TRUE(ini.LoadFromFile());
    EXPECT_EQ(ini.ToText(), "[S]\r\nA=2\r\nA=2\r\n");
}

TEST_F(IniTest, LoadFromMissingFileKeepsEverything) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("kept.ini");
    TINI ini;
    ini.WriteString("S", "A", "1");
    ASSERT_TRUE(ini.SaveToFile(path));
    EXPECT_FALSE(ini.LoadFromFile(dir.filePath("missing.ini")));
    EXPECT_FALSE(ini.ErrorString().isEmpty());
    EXPECT_EQ(ini.FileName(), path);
    EXPECT_EQ(ini.ToText(), "[S]\r\nA=1\r\n");
    EXPECT_FALSE(ini.LoadFromFile(dir.path())); // a folder is no file
    EXPECT_EQ(ini.FileName(), path);
    EXPECT_EQ(ini.ToText(), "[S]\r\nA=1\r\n");
}

TEST_F(IniTest, FailedSaveToMissingFolderKeepsFileName) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("good.ini");
    TINI ini;
    ini.WriteString("S", "A", "1");
    ASSERT_TRUE(ini.SaveToFile(path));
    ini.WriteString("S", "A", "2");
    EXPECT_FALSE(ini.SaveToFile(dir.filePath("no/such/folder/bad.ini")));
    EXPECT_FALSE(ini.ErrorString().isEmpty());
    EXPECT_EQ(ini.FileName(), path);
    EXPECT_EQ(readFileBytes(path), QByteArray("[S]\r\nA=1\r\n"));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("no")));
    EXPECT_EQ(ini.ToText(), "[S]\r\nA=2\r\n");
}

TEST_F(IniTest, FailedSaveOverFolderKeepsFolder) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = dir.filePath("folder");
    ASSERT_TRUE(QDir().mkdir(folder));
    TINI ini;
    ini.WriteString("S", "A", "1");
    EXPECT_FALSE(ini.SaveToFile(folder));
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_TRUE(ini.FileName().isEmpty());
}

TEST_F(IniTest, SaveFailingPartWayKeepsPreviousFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("order.lno");
    TINI ini;
    ini.WriteString("Order", "Caption", "Old");
    ASSERT_TRUE(ini.SaveToFile(path));
    const QByteArray previous = readFileBytes(path);

    QStringList& items = ini.Section("Items");
    for (int i = 0; i < 20000; ++i)
        items.append(QStringLiteral("Item%1=Deska %1").arg(i));
    bool saved = true;
    {
        FileSizeLimit limit(4096);
        saved = ini.SaveToFile(path);
    }
    EXPECT_FALSE(saved);
    EXPECT_FALSE(ini.ErrorString().isEmpty());
    EXPECT_EQ(readFileBytes(path), previous);
    EXPECT_EQ(ini.FileName(), path);
    // Nothing of the failed attempt is left beside the file.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"order.lno"});
    // With room again the same storage saves.
    ASSERT_TRUE(ini.SaveToFile(path));
    EXPECT_EQ(readFileBytes(path), ini.ToBytes());
}

TEST_F(IniTest, FailedSaveInReadOnlyFolderKeepsPreviousFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("kept.ini");
    TINI ini;
    ini.WriteString("S", "A", "1");
    ASSERT_TRUE(ini.SaveToFile(path));
    QFile folder(dir.path());
    const QFileDevice::Permissions permissions = folder.permissions();
    ASSERT_TRUE(folder.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const bool stillWritable = writeFileBytes(dir.filePath("probe"), "x");
    if (stillWritable) {
        folder.setPermissions(permissions);
        GTEST_SKIP() << "permissions do not bind this user (root)";
    }
    ini.WriteString("S", "A", "2");
    const bool saved = ini.SaveToFile(path);
    folder.setPermissions(permissions);
    EXPECT_FALSE(saved);
    EXPECT_EQ(readFileBytes(path), QByteArray("[S]\r\nA=1\r\n"));
    EXPECT_EQ(ini.FileName(), path);
}

// ---- Streams ----

TEST_F(IniTest, StreamsRoundTrip) {
    TINI ini = parsed("[A]\nK=1\n[B]\nL=2\n");
    QBuffer buffer;
    ASSERT_TRUE(buffer.open(QIODevice::WriteOnly));
    ASSERT_TRUE(ini.SaveToStream(buffer));
    buffer.close();
    EXPECT_EQ(buffer.data(), QByteArray("[A]\r\nK=1\r\n\r\n[B]\r\nL=2\r\n"));

    ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
    TINI loaded;
    ASSERT_TRUE(loaded.LoadFromStream(buffer));
    EXPECT_EQ(loaded.ToText(), ini.ToText());
    EXPECT_TRUE(loaded.FileName().isEmpty());
}

TEST_F(IniTest, FailingStreamsReportFalseAndChangeNothing) {
    TINI ini = parsed("[S]\nA=1\n");
    FailingDevice device(8);
    ASSERT_TRUE(device.open(QIODevice::ReadWrite | QIODevice::Unbuffered));
    EXPECT_FALSE(ini.SaveToStream(device));
    EXPECT_FALSE(ini.ErrorString().isEmpty());
    EXPECT_FALSE(ini.LoadFromStream(device));
    EXPECT_EQ(ini.ToText(), "[S]\r\nA=1\r\n");

    QBuffer closed;
    EXPECT_FALSE(ini.LoadFromStream(closed));
    EXPECT_FALSE(ini.SaveToStream(closed));
    EXPECT_EQ(ini.ToText(), "[S]\r\nA=1\r\n");
}

} // namespace
