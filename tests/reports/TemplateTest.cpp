#include "foundation/TextFile.h"
#include "platform/Locale.h"
#include "reports/ReportMessages.h"
#include "reports/Sestava.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <ostream>
#include <set>

using namespace lintaro;

namespace {

TSestavaTyp& parsed(TSestavaTyp& report, const QStringList& lines) {
    report.SetPredloha(TPredloha(lines));
    return report;
}

const std::vector<TSiReportElement>& elementsOf(const TSestavaTyp& report, int section) {
    return report.Oddily().Item(section).Elements;
}

// Two named fields for name references.
class TwoFields : public TReportDataSet {
public:
    bool Active() const override { return true; }
    bool Open() override { return true; }
    bool Close() override { return true; }
    void First() override {}
    void Next() override {}
    void Prior() override {}
    void Last() override {}
    bool Bof() const override { return true; }
    bool Eof() const override { return true; }
    int RecordCount() const override { return 0; }
    int Bookmark() const override { return 0; }
    bool GotoBookmark(int) override { return false; }
    int FieldCount() const override { return 2; }
    QString FieldName(int i) const override { return i == 0 ? QStringLiteral("ID") : QStringLiteral("Cena"); }
    QString FieldDisplayLabel(int i) const override { return FieldName(i); }
    TFieldType FieldDataType(int i) const override { return i == 0 ? ftString : ftFloat; }
    TFieldAlignment FieldAlignment(int) const override { return faLeftJustify; }
    int FieldDisplayWidth(int) const override { return 10; }
    QString FieldDisplayText(int i) override { return i == 0 ? QStringLiteral("A1") : QStringLiteral("2,5"); }
    bool FieldIsNull(int) override { return false; }
};

struct SplitCase {
    const char* line;
    QStringList fields;
};

std::ostream& operator<<(std::ostream& os, const SplitCase& c) {
    return os << c.line;
}

class TemplateFields : public ::testing::TestWithParam<SplitCase> {};

TEST_P(TemplateFields, Split) {
    EXPECT_EQ(SplitTemplateLine(QString::fromUtf8(GetParam().line)), GetParam().fields);
}

INSTANTIATE_TEST_SUITE_P(Table, TemplateFields,
                         ::testing::Values(SplitCase{"T,1,2", {"T", "1", "2"}},
                                           SplitCase{"\"a, \"\"b\"\"\",c", {"a, \"b\"", "c"}},
                                           SplitCase{"\"ab\"cd,e", {"abcd", "e"}}, SplitCase{",", {"", ""}},
                                           SplitCase{"\"open, end", {"open, end"}}, SplitCase{"\"\"", {""}},
                                           SplitCase{"x,", {"x", ""}}));

TEST(Template, QuotedTextWithCommaAndDoubledQuoteRoundTrips) {
    TSestavaTyp report;
    TSiReportElement e;
    e.Text = QStringLiteral("Řekl \"ano, ne\", \"\"");
    e.FontName = QStringLiteral("Arial");
    e.PenWidth = 0; // text elements have no pen or brush fields in the template
    e.BrushColor = 0;
    report.Oddily().Item(stBody).Elements.push_back(e);
    const TPredloha written = report.WritePredloha();
    EXPECT_TRUE(written.Lines().contains(
        QStringLiteral("T,1,0,0,0,0,0,Arial,0,0,0,0,0,0,\"Řekl \"\"ano, ne\"\", \"\"\"\"\",0,0,0")));
    TSestavaTyp back;
    back.SetPredloha(written);
    ASSERT_EQ(elementsOf(back, stBody).size(), 1u);
    EXPECT_EQ(elementsOf(back, stBody)[0], e);
    EXPECT_EQ(back.WritePredloha(), written);
}

TEST(Template, WithoutVersionLinePageSetUpHasNoSizeAndVariablesMoveUp) {
    TSestavaTyp report;
    parsed(report,
           {"I,2,1,10,20,30,40,2,5", "T,5,0,0,0,9,9", "T,5,3,0,0,9,9", "T,5,4,0,0,9,9", "T,5,7,0,0,9,9"});
    const TPageSetup& p = report.PageSetup;
    EXPECT_EQ(p.Orientation, 1);
    EXPECT_EQ(p.Width, 826);
    EXPECT_EQ(p.Height, 1169);
    EXPECT_EQ(p.Left, 10);
    EXPECT_EQ(p.Right, 20);
    EXPECT_EQ(p.Top, 30);
    EXPECT_EQ(p.Bottom, 40);
    EXPECT_EQ(p.Columns, 2);
    EXPECT_EQ(p.ColumnGap, 5);
    std::vector<int> refs;
    for (const TSiReportElement& e : elementsOf(report, stBody))
        refs.push_back(e.Reference);
    EXPECT_EQ(refs, (std::vector<int>{0, 3, 5, 8}));
    // Written back with the current version, sizes included, the new numbers kept.
    const QStringList out = report.WritePredloha().Lines();
    EXPECT_TRUE(out.contains(QStringLiteral("I,1,4,39,122")));
    EXPECT_TRUE(out.contains(QStringLiteral("I,2,1,826,1169,10,20,30,40,2,5,0")));
    EXPECT_TRUE(out.contains(QStringLiteral("T,5,5,0,0,9,9,,0,0,0,0,0,0,\"\",0,0,0")));
}

TEST(Template, NewerVersionsKeepVariableNumbers) {
    for (const char* version : {"I,1,2,0,0", "I,1,1,0,3"}) {
        TSestavaTyp report;
        parsed(report, {version, "I,2,0,500,600,1,2,3,4", "T,5,4,0,0,9,9"});
        EXPECT_EQ(elementsOf(report, stBody)[0].Reference, 4) << version;
    }
    TSestavaTyp report;
    parsed(report, {"I,1,1,0,0", "I,2,0,500,600,1,2,3,4"});
    EXPECT_EQ(report.PageSetup.Width, 500);
    EXPECT_EQ(report.PageSetup.Bottom, 4);
    EXPECT_EQ(report.PageSetup.Columns, 1);
}

TEST(Template, SevenFieldElementLinesReadZeros) {
    TSestavaTyp report;
    parsed(report, {"T,1,0,10,20,30,40", "T,8,0,1,2,3,4", "K,15,2,5,6,7,8"});
    const auto& body = elementsOf(report, stBody);
    ASSERT_EQ(body.size(), 2u);
    TSiReportElement text;
    text.Left = 10;
    text.Top = 20;
    text.Width = 30;
    text.Height = 40;
    text.PenWidth = 0;
    text.BrushColor = 0;
    EXPECT_EQ(body[0], text);
    EXPECT_EQ(body[1].PenWidth, 0);
    EXPECT_EQ(body[1].BrushColor, 0);
    EXPECT_EQ(body[1].BrushStyle, 0);
    EXPECT_EQ(elementsOf(report, stReportEnd)[0].Reference, 2);
    EXPECT_EQ(report.WritePredloha().Lines().last(), QStringLiteral("K,15,2,5,6,7,8"));
}

TEST(Template, MalformedFieldsTakeTheirDefaults) {
    TSestavaTyp report;
    report.Popis = QStringLiteral("kept");
    parsed(report, {"I,0,\"\"", "I,6,1,0,-3,x", "I,3,2,1,abc", "T,1,0,x1,20,,40,Arial,big", "T,99,0,1,1,1,1",
                    "T", "", "I,4,70,0,1,1,1,1,1", "S5,1,0,0,0,1,1", "I,3,9,1,1"});
    EXPECT_EQ(report.Popis, QStringLiteral("kept"));
    EXPECT_TRUE(report.Grid.CharGrid);
    EXPECT_EQ(report.Grid.GridX, 8);
    EXPECT_EQ(report.Grid.GridY, 8);
    EXPECT_EQ(report.Grid.CharPitch, 1);
    EXPECT_NEAR(report.Grid.CellWidth(), 8.333, 0.001);
    EXPECT_NEAR(report.Grid.CellHeight(), 16.667, 0.001);
    EXPECT_TRUE(report.Oddily().Item(stBody).Visible);
    EXPECT_EQ(report.Oddily().Item(stBody).Height, 0);
    ASSERT_EQ(elementsOf(report, stBody).size(), 1u);
    const TSiReportElement& e = elementsOf(report, stBody)[0];
    EXPECT_EQ(e.Left, 0);
    EXPECT_EQ(e.Top, 20);
    EXPECT_EQ(e.Width, 0);
    EXPECT_EQ(e.FontSize, 0);
    EXPECT_EQ(report.Skupiny().Count(), 0);
}

TEST(Template, SubReportIgnoresPageHeadAndFoot) {
    TSestavaTyp report;
    parsed(report,
           {"D0,H,1,0,0,10,10,Arial,10,0,0,0,0,0,\"head\"", "D0,P,1,0,0,10,10,Arial,10,0,0,0,0,0,\"foot\"",
            "D0,T,1,0,0,0,10,10,Arial,10,0,0,0,0,0,\"body\"", "D1,T,15,0,0,0,10,10", "D1,D0,T,1,0,0,1,1",
            "D500,T,1,0,0,1,1"});
    EXPECT_EQ(report.Oddily().ElementCount(), 0);
    ASSERT_EQ(report.Detaily().Count(), 2);
    const TSestavaTyp& detail = report.Detaily().Item(0);
    EXPECT_TRUE(detail.IsSubReport());
    EXPECT_EQ(detail.ParentReport(), &report);
    EXPECT_TRUE(elementsOf(detail, stPageHead).empty());
    EXPECT_TRUE(elementsOf(detail, stPageFoot).empty());
    ASSERT_EQ(elementsOf(detail, stBody).size(), 1u);
    EXPECT_EQ(elementsOf(detail, stBody)[0].Text, QStringLiteral("body"));
    // A sub-report of a sub-report.
    ASSERT_EQ(report.Detaily().Item(1).Detaily().Count(), 1);
    EXPECT_EQ(report.Detaily().Item(1).Detaily().Item(0).Oddily().ElementCount(), 1);
}

TEST(Template, EmptyTemplateFromCallbackGivesNoElements) {
    TSestava report;
    report.SetPredloha(TPredloha({"T,1,0,0,0,1,1"}));
    int set = 0;
    report.OnNactiPredlohu = [](TSestava&, TPredloha& p) { p.Clear(); };
    report.OnSetPredloha = [&set](TSestava&) { ++set; };
    EXPECT_EQ(report.NactiPredlohu(), ReportMessages::rrOK);
    EXPECT_EQ(report.Oddily().ElementCount(), 0);
    EXPECT_EQ(report.Funkce().Count(), 0);
    EXPECT_EQ(set, 1);
}

TEST(Template, FontNamesLoseTheirCodePageSuffix) {
    TSestavaTyp report;
    parsed(report, {"T,1,0,0,0,1,1,Arial CE,10,0,0,0,0,0", "T,1,0,0,0,1,1,Courier CYR,10,0,0,0,0,0",
                    "T,1,0,0,0,1,1,Tahoma Baltic,10,0,0,0,0,0", "T,1,0,0,0,1,1,Verdana,10,0,0,0,0,0"});
    const auto& body = elementsOf(report, stBody);
    EXPECT_EQ(body[0].FontName, QStringLiteral("Arial"));
    EXPECT_EQ(body[0].Charset, 238);
    EXPECT_EQ(body[1].FontName, QStringLiteral("Courier"));
    EXPECT_EQ(body[1].Charset, 204);
    EXPECT_EQ(body[2].Charset, 186);
    EXPECT_EQ(body[3].FontName, QStringLiteral("Verdana"));
    EXPECT_EQ(body[3].Charset, 0);
    // An installed font keeps its whole name.
    TSestavaTyp::SetFontCheck([](const QString& name) { return name == QLatin1String("Arial CE"); });
    parsed(report, {"T,1,0,0,0,1,1,Arial CE,10,0,0,0,0,0"});
    TSestavaTyp::SetFontCheck({});
    EXPECT_EQ(elementsOf(report, stBody)[0].FontName, QStringLiteral("Arial CE"));
    EXPECT_EQ(elementsOf(report, stBody)[0].Charset, 0);
}

TEST(Template, ReferencesByNameFindDataItemsAndFunctions) {
    TwoFields data;
    TSestava report;
    report.DataSource = &data;
    report.SetPredloha(
        TPredloha({"F,0,Soucet,\"\",0,\"\",0,\"1\",0,15,2,2", "F,1,Prumer,\"\",0,\"\",0,\"2\",3,15,2,2",
                   "I,4,0,cena,1,10,1,10,0", "T,2,cena,0,0,1,1", "T,3,CENA,0,0,1,1", "T,2,Missing,0,0,1,1",
                   "T,2,7,0,0,1,1", "T,6,prumer,0,0,1,1", "T,6,Other,0,0,1,1", "T,4,Name,0,0,1,1"}));
    std::vector<int> refs;
    for (const TSiReportElement& e : elementsOf(report, stBody))
        refs.push_back(e.Reference);
    EXPECT_EQ(refs, (std::vector<int>{1, 1, 0, 0, 1, 0, 0}));
    EXPECT_EQ(report.Skupiny().Item(0).ItemIndex, 1);
    EXPECT_EQ(report.Skupiny().Item(0).Caption(), QStringLiteral("Skupina 1"));
    // The names are written back as the template gave them.
    EXPECT_TRUE(report.WritePredloha().Lines().contains(
        QStringLiteral("T,6,prumer,0,0,1,1,,0,0,0,0,0,0,\"\",0,0,0")));
    // The same report answers expressions: data items, parameters, functions.
    const ScopedLocale czech(Locale::czech());
    report.Parametry = QStringList{QStringLiteral("Praha")};
    report.Funkce().Reset(-1);
    report.Funkce().ComputeAll(&report);
    EXPECT_EQ(EvaluateExpression(QStringLiteral("#Cena * 2 + @Prumer + #1"), &report).Value.Text,
              QStringLiteral("7A1"));
    EXPECT_EQ(EvaluateExpression(QStringLiteral("&1 + #ID"), &report).Value.Text, QStringLiteral("PrahaA1"));
}

class TemplateFiles : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        report.ReportDir = dir.path();
        report.ReportDirIgnore = false;
        report.ReportName = QStringLiteral("Offer.pts");
        report.OnError = [this](TSestava&, int code, const QString& message) {
            errors.push_back(code);
            messages.push_back(message);
        };
    }
    QString path(const QString& name) const { return dir.filePath(name); }

    QTemporaryDir dir;
    TSestava report;
    std::vector<int> errors;
    QStringList messages;
};

TEST_F(TemplateFiles, EveryKindTwoGroupsADetailAndFiveFunctionsReadAndWriteBackByteForByte) {
    report.ReportDir = test::dataPath(QStringLiteral("reports"));
    report.ReportName = QStringLiteral("Full.pts");
    ASSERT_EQ(report.NactiPredlohu(), ReportMessages::rrOK);
    EXPECT_EQ(report.Skupiny().Count(), 2);
    EXPECT_EQ(report.Funkce().Count(), 5);
    EXPECT_EQ(report.Detaily().Count(), 1);
    std::set<int> kinds;
    for (int s = 0; s < report.Oddily().Count(); ++s)
        for (const TSiReportElement& e : elementsOf(report, s))
            kinds.insert(e.Kind);
    EXPECT_EQ(kinds, (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 15}));
    EXPECT_EQ(report.Popis, QStringLiteral("Zakázka \"A\", přehled"));
    EXPECT_EQ(report.Funkce().Item(1).Expression, QStringLiteral("#Sirka * #Delka / 1000000"));
    EXPECT_EQ(report.Funkce().Item(3).ValueType, TRadekFunkce::thText);

    const QByteArray original = test::readFileBytes(test::dataPath(QStringLiteral("reports/Full.pts")));
    EXPECT_EQ(report.WritePredloha().Text().toUtf8(), original);
    // Saved under a new name through the file path, the bytes stay the same.
    report.SetPredloha(report.WritePredloha());
    ASSERT_EQ(report.UlozPredlohuJako(path(QStringLiteral("Copy.pts"))), ReportMessages::rrOK);
    EXPECT_EQ(test::readFileBytes(path(QStringLiteral("Copy.pts"))), original);
}

TEST_F(TemplateFiles, SaveKeepsABackupOfThePreviousFile) {
    report.SetPredloha(TPredloha({"I,0,\"one\""}));
    ASSERT_EQ(report.UlozPredlohu(), ReportMessages::rrOK);
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("Offer.BAK"))));
    report.SetPredloha(TPredloha({"I,0,\"two\""}));
    ASSERT_EQ(report.UlozPredlohu(), ReportMessages::rrOK);
    EXPECT_EQ(test::readFileBytes(path(QStringLiteral("Offer.pts"))), QByteArray("I,0,\"two\"\r\n"));
    EXPECT_EQ(test::readFileBytes(path(QStringLiteral("Offer.BAK"))), QByteArray("I,0,\"one\"\r\n"));
    TSestava reader;
    reader.ReportDir = dir.path();
    reader.ReportDirIgnore = false;
    reader.ReportName = QStringLiteral("Offer.pts");
    ASSERT_EQ(reader.NactiPredlohu(), ReportMessages::rrOK);
    EXPECT_EQ(reader.Popis, QStringLiteral("two"));
    EXPECT_TRUE(errors.empty());
}

TEST_F(TemplateFiles, AFailedSaveKeepsTheFileAndTheBackup) {
    report.SetPredloha(TPredloha({"I,0,\"one\""}));
    ASSERT_EQ(report.UlozPredlohu(), ReportMessages::rrOK);
    // A folder where the backup should go makes the save fail before the file is touched.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Offer.BAK")));
    report.SetPredloha(TPredloha({"I,0,\"two\""}));
    EXPECT_EQ(report.UlozPredlohu(), ReportMessages::rrNotSaved);
    EXPECT_EQ(test::readFileBytes(path(QStringLiteral("Offer.pts"))), QByteArray("I,0,\"one\"\r\n"));
    EXPECT_TRUE(QFileInfo(path(QStringLiteral("Offer.BAK"))).isDir());
    EXPECT_EQ(errors, std::vector<int>{ReportMessages::rrNotSaved});
    EXPECT_EQ(messages.value(0), QStringLiteral("Soubor s předlohou se nepodařilo uložit."));
    // A folder that does not exist.
    report.ReportName = QStringLiteral("missing/Offer.pts");
    EXPECT_EQ(report.UlozPredlohu(), ReportMessages::rrNotSaved);
    EXPECT_EQ(report.LastMessage, QStringLiteral("Soubor s předlohou se nepodařilo uložit."));
}

TEST_F(TemplateFiles, LoadFailuresReportCodeFourWithTheirMessage) {
    EXPECT_EQ(report.NactiPredlohu(), ReportMessages::rrNotLoaded);
    EXPECT_EQ(
        messages.value(0),
        QStringLiteral("Nebyl nalezen soubor s předlohou tiskové sestavy \"%1\"").arg(path("Offer.pts")));
    report.ReportName.clear();
    EXPECT_EQ(report.NactiPredlohu(), ReportMessages::rrNotLoaded);
    EXPECT_EQ(messages.value(1), QStringLiteral("Není definována cesta a název souboru s předlohou."));
    EXPECT_EQ(report.UlozPredlohu(), ReportMessages::rrNotSaved);
    EXPECT_EQ(errors, (std::vector<int>{4, 4, 5}));
}

TEST_F(TemplateFiles, StoredTemplatesAndCallbacks) {
    report.IsStored = true;
    report.SetPredloha(TPredloha({"T,1,0,0,0,1,1"}));
    report.Oddily().Item(stBody).Elements.clear();
    EXPECT_EQ(report.NactiPredlohu(), ReportMessages::rrOK); // the stored lines are read again
    EXPECT_EQ(report.Oddily().ElementCount(), 1);
    EXPECT_EQ(report.UlozPredlohu(), ReportMessages::rrOK);
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("Offer.pts"))));

    bool answer = false;
    report.OnUlozPredlohu = [&answer](TSestava&) { return answer; };
    EXPECT_EQ(report.UlozPredlohu(), ReportMessages::rrNotSaved);
    answer = true;
    EXPECT_EQ(report.UlozPredlohu(), ReportMessages::rrOK);
    report.OnUlozPredlohuJako = [](TSestava&) { return true; };
    EXPECT_EQ(report.UlozPredlohuJako(), ReportMessages::rrOK);
    EXPECT_EQ(errors, std::vector<int>{ReportMessages::rrNotSaved});
}

TEST_F(TemplateFiles, SaveAsChoosesARelativeOrAWholePath) {
    report.SetPredloha(TPredloha({"I,0,\"x\""}));
    EXPECT_EQ(report.UlozPredlohuJako(), ReportMessages::rrNothingDone); // no way to ask for a name
    QString asked;
    report.ChooseSaveFileName = [&asked](const QString& filter, const QString& title) {
        asked = filter + u'|' + title;
        return QString();
    };
    EXPECT_EQ(report.UlozPredlohuJako(), ReportMessages::rrCancelled);
    EXPECT_EQ(asked, QStringLiteral("Předlohy tiskových sestav (*.pts)|*.PTS|Výběr souboru"));

    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    EXPECT_EQ(report.UlozPredlohuJako(path(QStringLiteral("sub/In.pts"))), ReportMessages::rrOK);
    EXPECT_EQ(report.ReportName, QStringLiteral("sub/In.pts"));
    EXPECT_EQ(report.ReportDir, dir.path());

    QTemporaryDir other;
    const QString outside = QDir(other.path()).filePath(QStringLiteral("Out.pts"));
    EXPECT_EQ(report.UlozPredlohuJako(outside), ReportMessages::rrOK);
    EXPECT_EQ(report.ReportName, outside);
    EXPECT_TRUE(report.ReportDir.isEmpty());
    EXPECT_FALSE(report.ReportDirIgnore);
    EXPECT_EQ(report.TemplatePath(), outside);
    EXPECT_TRUE(QFile::exists(outside));
}

} // namespace

namespace {

TEST(Template, NamesWithCommasAreQuotedSoTheyReadBack) {
    TSestavaTyp report;
    parsed(report, {"I,4,0,\"Mat, B\",1,10,1,10,0", "F,0,\"Sum, all\",\"\",0,\"\",0,\"1\",0,15,2,2",
                    "T,6,\"Sum, all\",0,0,1,1,\"Font, X\",10,0,0,0,0,0,\"\",0,0,0"});
    EXPECT_EQ(report.Skupiny().Item(0).ItemName, QStringLiteral("Mat, B"));
    EXPECT_EQ(report.Funkce().Item(0).Name, QStringLiteral("Sum, all"));
    EXPECT_EQ(elementsOf(report, stBody)[0].FontName, QStringLiteral("Font, X"));
    const TPredloha written = report.WritePredloha();
    EXPECT_TRUE(written.Lines().contains(
        QStringLiteral("T,6,\"Sum, all\",0,0,1,1,\"Font, X\",10,0,0,0,0,0,\"\",0,0,0")));
    TSestavaTyp back;
    back.SetPredloha(written);
    EXPECT_EQ(back.WritePredloha(), written);
}

} // namespace
