#include "reports/ReportRun.h"
#include "reports/ReportMessages.h"
#include "reports/ReportProgress.h"
#include "reports/Sestava.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QRegularExpression>

using namespace lintaro;

namespace {

// Records held in memory, one list of field texts per record.
class MemoryData : public TReportDataSet {
public:
    MemoryData(QStringList fields, std::vector<QStringList> rows)
        : fields_(std::move(fields)), rows_(std::move(rows)) {}
    bool Active() const override { return active_; }
    bool Open() override { return active_ = openable; }
    bool Close() override {
        active_ = false;
        return true;
    }
    void First() override { pos_ = 0; }
    void Next() override { pos_ = std::min(pos_ + 1, static_cast<int>(rows_.size())); }
    void Prior() override { pos_ = std::max(pos_ - 1, 0); }
    void Last() override { pos_ = std::max(0, static_cast<int>(rows_.size()) - 1); }
    bool Bof() const override { return pos_ == 0; }
    bool Eof() const override { return pos_ >= static_cast<int>(rows_.size()); }
    int RecordCount() const override { return static_cast<int>(rows_.size()); }
    int Bookmark() const override { return pos_; }
    bool GotoBookmark(int b) override {
        pos_ = b;
        return true;
    }
    int FieldCount() const override { return static_cast<int>(fields_.size()); }
    QString FieldName(int i) const override { return fields_[i]; }
    QString FieldDisplayLabel(int i) const override { return fields_[i] + u':'; }
    TFieldType FieldDataType(int i) const override {
        return static_cast<size_t>(i) < types.size() ? types[static_cast<size_t>(i)] : ftString;
    }
    TFieldAlignment FieldAlignment(int) const override { return faLeftJustify; }
    int FieldDisplayWidth(int) const override { return 10; }
    QString FieldDisplayText(int i) override {
        return Eof() ? QString() : rows_[static_cast<size_t>(pos_)].value(i);
    }
    bool FieldIsNull(int) override { return Eof(); }
    void DisableControls() override { ++disabled; }
    void EnableControls() override { --disabled; }

    int disabled = 0;
    std::vector<TFieldType> types; // ftString for the fields beyond

    bool openable = true;
    bool active_ = true;
    int pos_ = 0;

private:
    QStringList fields_;
    std::vector<QStringList> rows_;
};

std::vector<QStringList> rowsOf(std::initializer_list<const char*> texts) {
    std::vector<QStringList> rows;
    for (const char* t : texts)
        rows.push_back(QString::fromUtf8(t).split(u';'));
    return rows;
}

std::vector<QStringList> numbered(int count) {
    std::vector<QStringList> rows;
    for (int i = 1; i <= count; ++i)
        rows.push_back({QString::number(i), QStringLiteral("g")});
    return rows;
}

// A text element line of a section.
QString text(const char* tag, int left, int top, int width, int height, const char* content, int kind = 1,
             int reference = 0, int alignment = 0) {
    return QStringLiteral("%1,%2,%3,%4,%5,%6,%7,Arial,10,0,0,%8,0,238,\"%9\",0,0,0")
        .arg(QString::fromUtf8(tag))
        .arg(kind)
        .arg(reference)
        .arg(left)
        .arg(top)
        .arg(width)
        .arg(height)
        .arg(alignment)
        .arg(QString::fromUtf8(content));
}

QStringList header(int start, int body, int end, int foot, int head = 0) {
    auto section = [](int index, int height) {
        return QStringLiteral("I,3,%1,%2,%3,0").arg(index).arg(height > 0 ? 1 : 0).arg(height);
    };
    return {QStringLiteral("I,1,4,39,122"),
            QStringLiteral("I,2,0,826,1169,0,0,0,0,1,0"),
            section(0, start),
            section(1, head),
            section(2, body),
            section(3, end),
            section(4, foot)};
}

struct Fixture {
    Fixture(QStringList lines, std::vector<QStringList> rows, QStringList fields = {"ID", "G", "H"})
        : data(std::move(fields), std::move(rows)) {
        report.DataSource = &data;
        report.SetPredloha(TPredloha(lines));
    }
    QString run(int expectedResult = ReportMessages::rrOK) {
        TReportRun run(report, output, progress);
        run.PrintTime = QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7));
        EXPECT_EQ(run.Run(), expectedResult) << run.Message().toStdString();
        message = run.Message();
        return output.Dump();
    }
    // Only the dump lines whose text matches.
    QString runFiltered(const QString& pattern) {
        QString kept;
        for (const QString& line : run().split(u'\n', Qt::SkipEmptyParts))
            if (line.contains(QRegularExpression(pattern)))
                kept += line + u'\n';
        return kept;
    }
    MemoryData data;
    TSestava report;
    TSestVystup output;
    TReportProgress* progress = nullptr;
    QString message;
};

QString lines(std::initializer_list<const char*> l) {
    QString s;
    for (const char* x : l)
        s += QString::fromUtf8(x) + u'\n';
    return s;
}

TEST(ReportRun, EmptyDatasetPrintsOneBodyBetweenStartAndEnd) {
    QStringList t = header(20, 10, 20, 0);
    t << text("Z", 0, 0, 100, 10, "Start") << text("T", 0, 0, 100, 10, "", 2, 0)
      << text("T", 100, 0, 100, 10, "Body") << text("K", 0, 0, 100, 10, "End");
    Fixture f(t, {});
    EXPECT_EQ(f.run(), lines({"1 1 0,0,100,10 Start", "1 2 0,20,100,10", "1 1 100,20,100,10 Body",
                              "1 1 0,30,100,10 End"}));
}

TEST(ReportRun, RecordsItemsLabelsParametersAndCounters) {
    QStringList t = header(0, 10, 0, 0);
    t << text("T", 0, 0, 50, 10, "", 2, 0) << text("T", 50, 0, 50, 10, "", 3, 1)
      << text("T", 100, 0, 50, 10, "", 4, 1) << text("T", 150, 0, 50, 10, "#%d", 5, rvRecordNo)
      << text("T", 200, 0, 80, 10, "dd.mm.yyyy hh:nn", 5, rvPrintDate);
    Fixture f(t, rowsOf({"a;x;-", "b;y;-"}));
    f.report.Parametry = QStringList{"p0", "p1"};
    EXPECT_EQ(f.run(), lines({"1 2 0,0,50,10 a", "1 3 50,0,50,10 G:", "1 4 100,0,50,10 p1",
                              "1 5 150,0,50,10 #1", "1 5 200,0,80,10 04.03.2026 05:06", "1 2 0,10,50,10 b",
                              "1 3 50,10,50,10 G:", "1 4 100,10,50,10 p1", "1 5 150,10,50,10 #2",
                              "1 5 200,10,80,10 04.03.2026 05:06"}));
}

TEST(ReportRun, SubReportOverEmptyDataPrintsNothing) {
    QStringList t = header(0, 30, 0, 0);
    t << text("T", 0, 0, 100, 10, "Main") << QStringLiteral("T,15,0,20,10,200,10")
      << QStringLiteral("D0,I,1,4,39,122") << QStringLiteral("D0,I,3,2,1,10,0")
      << QStringLiteral("D0,") + text("T", 0, 0, 100, 10, "", 2, 0);
    for (const bool empty : {true, false}) {
        Fixture f(t, rowsOf({"m"}));
        MemoryData sub({"ID"}, empty ? std::vector<QStringList>{} : rowsOf({"s1", "s2"}));
        f.report.OnDataPodsestavy = [&](TSestava&, const TSestavaTyp&) { return &sub; };
        EXPECT_EQ(f.run(), empty
                               ? lines({"1 1 0,0,100,10 Main"})
                               : lines({"1 1 0,0,100,10 Main", "1 2 20,10,100,10 s1", "1 2 20,20,100,10 s2"}))
            << empty;
    }
}

TEST(ReportRun, EndPageOneStopsAfterTheFirstPage) {
    QStringList t = header(0, 100, 20, 0);
    t << text("T", 0, 0, 100, 10, "", 2, 0) << text("K", 0, 0, 100, 10, "End");
    Fixture f(t, numbered(50));
    f.report.EndPage = 1;
    const QString dump = f.run();
    EXPECT_EQ(f.output.PageCount(), 1);
    EXPECT_TRUE(dump.endsWith(QStringLiteral("1 2 0,1000,100,10 11\n"))) << dump.toStdString();
}

TEST(ReportRun, UnchangedGroupGivesOneStartAndOneEnd) {
    QStringList t = header(0, 10, 0, 0);
    t << QStringLiteral("I,4,0,1,1,10,1,10,0") << text("S0", 0, 0, 100, 10, "Start")
      << text("T", 0, 0, 100, 10, "", 2, 0) << text("U0", 0, 0, 100, 10, "End");
    Fixture f(t, rowsOf({"1;A", "2;A", "3;A"}));
    EXPECT_EQ(f.run(), lines({"1 1 0,0,100,10 Start", "1 2 0,10,100,10 1", "1 2 0,20,100,10 2",
                              "1 2 0,30,100,10 3", "1 1 0,40,100,10 End"}));
}

TEST(ReportRun, OuterGroupChangeClosesAndReopensTheInner) {
    QStringList t = header(0, 10, 0, 0);
    t << QStringLiteral("I,4,0,1,1,10,1,10,0") << QStringLiteral("I,4,1,H,1,10,1,10,0")
      << text("S0", 0, 0, 100, 10, "S0 %d", 5, 6) << text("S1", 0, 0, 100, 10, "S1 %d", 5, 8)
      << text("T", 0, 0, 100, 10, "", 2, 0) << text("U1", 0, 0, 100, 10, "U1")
      << text("U0", 0, 0, 100, 10, "U0");
    // The outer group follows field 1 by number, the inner one field "H" by name.
    Fixture f(t, rowsOf({"1;A;x", "2;A;x", "3;B;x"}));
    QString texts;
    for (const TVystPrvek& e : (f.run(), f.output.Page(0).Prvky))
        texts += e.Text + u' ';
    EXPECT_EQ(texts, QStringLiteral("S0 1 S1 1 1 2 U1 U0 S0 2 S1 1 3 U1 U0 "));
}

TEST(ReportRun, ReportEndAtTheFootMovesToANewPageWhenBelowTheTarget) {
    struct Case {
        int records;
        const char* expected;
    };
    // Eleven bodies leave current y at 1100, below the target 1169 − 100 − 50 = 1019.
    for (const Case& c :
         {Case{5, "1 1 0,1019,100,10 End\n1 1 0,1119,100,10 Foot\n"},
          Case{11, "1 1 0,1119,100,10 Foot\n2 1 0,1019,100,10 End\n2 1 0,1119,100,10 Foot\n"}}) {
        QStringList t = header(0, 100, 100, 50);
        t[5] = QStringLiteral("I,3,3,1,100,2");
        t << text("T", 0, 0, 100, 10, "", 2, 0) << text("K", 0, 0, 100, 10, "End")
          << text("P", 0, 0, 100, 10, "Foot");
        Fixture f(t, numbered(c.records));
        EXPECT_EQ(f.runFiltered(QStringLiteral("End|Foot")), QString::fromUtf8(c.expected)) << c.records;
    }
}

TEST(ReportRun, ReportEndWithoutALastFootUsesTheFootsRoom) {
    // A page 300 high, foot 30, report end 50; six bodies of 40 end at 240.
    struct Case {
        int endOptions;
        const char* expected;
    };
    for (const Case& c : {Case{0, "1 1 0,240,100,10 End\n"}, Case{2, "1 1 0,250,100,10 End\n"}}) {
        QStringList t = header(0, 40, 50, 30);
        t[1] = QStringLiteral("I,2,0,826,300,0,0,0,0,1,0");
        t[5] = QStringLiteral("I,3,3,1,50,%1").arg(c.endOptions);
        t[6] = QStringLiteral("I,3,4,1,30,1");
        t << text("T", 0, 0, 100, 10, "", 2, 0) << text("K", 0, 0, 100, 10, "End")
          << text("P", 0, 0, 100, 10, "Foot");
        Fixture f(t, numbered(6));
        EXPECT_EQ(f.runFiltered(QStringLiteral("End|Foot")), QString::fromUtf8(c.expected)) << c.endOptions;
        EXPECT_EQ(f.output.PageCount(), 1);
    }
}

TEST(ReportRun, MemoItemsAreMultiLineAndCharacterGridLinesTakeARowEach) {
    static int argc = 1;
    static char name[] = "reports_tests";
    static char* argv[] = {name, nullptr};
    if (!QGuiApplication::instance())
        new QGuiApplication(argc, argv);
    const QString words = QStringLiteral("one two three four five six seven eight nine ten");
    // A memo item without the multi-line flag is broken into the lines that fit its box.
    QStringList t = header(0, 100, 0, 0);
    t << text("T", 0, 0, 60, 100, "", 2, 1);
    Fixture memo(t, {QStringList{QStringLiteral("1"), words}});
    memo.data.types = {ftString, ftMemo};
    memo.run();
    const TSiReportElement& element =
        static_cast<const TSestavaTyp&>(memo.report).Oddily().Item(stBody).Elements[0];
    const QStringList broken = BreakText(element, words, 60);
    ASSERT_GT(broken.size(), 2);
    EXPECT_EQ(memo.output.Page(0).Prvky[0].Text, broken.mid(0, 100 / LineHeight(element)).join(u'\n'));
    // The same item as text stays one line.
    Fixture plain(t, {QStringList{QStringLiteral("1"), words}});
    plain.run();
    EXPECT_EQ(plain.output.Page(0).Prvky[0].Text, words);

    // On a character grid of 6 lines per inch a 10-point text's lines are a row (17) apart, so that
    // each has a row of its own in the text output; what lies below moves down as far.
    QStringList g = header(0, 40, 0, 0);
    g << QStringLiteral("I,6,1,8,8,0,2,0,0") << text("T", 0, 0, 60, 10, "", 2, 0, eaVariableHeight)
      << text("T", 0, 17, 100, 10, "Below");
    Fixture grid(g, {QStringList{words}});
    ASSERT_LT(LineHeight(element), 17);
    grid.run();
    const TVystPrvek& grown = grid.output.Page(0).Prvky[0];
    EXPECT_EQ(grown.LinePitch, 17);
    EXPECT_EQ(grown.Box.height(), 17 * broken.size());
    EXPECT_EQ(grid.output.Page(0).Prvky[1].Box.top(), 17 * broken.size() + 7);
}

TEST(ReportRun, BodyTallerThanTheFreeSpaceSpillsAndStillPrints) {
    QStringList t = header(0, 1500, 0, 0, 30);
    t << text("H", 0, 0, 100, 10, "Head") << text("T", 0, 0, 100, 10, "", 2, 0)
      << text("T", 0, 1400, 100, 10, "Tail");
    Fixture f(t, numbered(2));
    EXPECT_EQ(f.run(), lines({"1 1 0,0,100,10 Head", "1 2 0,30,100,10 1", "2 1 0,0,100,10 Head",
                              "2 1 0,30,100,10 Tail", "3 1 0,0,100,10 Head", "3 2 0,30,100,10 2",
                              "4 1 0,0,100,10 Head", "4 1 0,30,100,10 Tail"}));
}

TEST(ReportRun, PageNumberOfPageCountOnEveryPage) {
    QStringList t = header(0, 100, 0, 50);
    t << text("T", 0, 0, 100, 10, "", 2, 0) << text("P", 0, 0, 100, 10, "Strana %d", 5, rvPageNo)
      << text("P", 100, 0, 100, 10, "z %d", 5, rvPageCount);
    Fixture f(t, numbered(25));
    EXPECT_EQ(f.runFiltered(QStringLiteral("Strana| z ")),
              lines({"1 5 0,1119,100,10 Strana 1", "1 5 100,1119,100,10 z 3", "2 5 0,1119,100,10 Strana 2",
                     "2 5 100,1119,100,10 z 3", "3 5 0,1119,100,10 Strana 3", "3 5 100,1119,100,10 z 3"}));
}

TEST(ReportRun, RecordLimits) {
    struct Case {
        int maxRecords;
        bool oneRecord;
        int startAt;
        const char* expected;
    };
    for (const Case& c : {Case{0, false, 0, "1 2 0,0,100,10 1\n1 2 0,10,100,10 2\n1 2 0,20,100,10 3\n"},
                          Case{2, false, 0, "1 2 0,0,100,10 1\n1 2 0,10,100,10 2\n"},
                          Case{0, true, 1, "1 2 0,0,100,10 2\n"}}) {
        QStringList t = header(0, 10, 0, 0);
        t << text("T", 0, 0, 100, 10, "", 2, 0);
        Fixture f(t, numbered(3));
        f.report.MaxRecords = c.maxRecords;
        f.report.TiskJedenZaznam = c.oneRecord;
        f.data.pos_ = c.startAt;
        EXPECT_EQ(f.run(), QString::fromUtf8(c.expected)) << c.maxRecords << c.oneRecord;
        EXPECT_EQ(f.data.pos_, c.startAt) << "the position is restored";
    }
}

TEST(ReportRun, ApplicationSuppressesSectionsAndComputesFunctions) {
    QStringList t = header(10, 10, 10, 0);
    t << QStringLiteral("F,0,Soucet,\"\",0,\"0\",0,\"#1\",2,15,0,2") << text("Z", 0, 0, 100, 10, "Start")
      << text("T", 0, 0, 100, 10, "", 6, 0) << text("K", 0, 0, 100, 10, "End");
    Fixture f(t, numbered(3));
    int computed = 0;
    f.report.OnVypoctiFunkce = [&](TSestava&) { ++computed; };
    f.report.OnTiskOddilu = [](TSestava&, int section, bool& print) { print = section != stReportStart; };
    EXPECT_EQ(f.run(),
              lines({"1 6 0,0,100,10 1", "1 6 0,10,100,10 3", "1 6 0,20,100,10 6", "1 1 0,30,100,10 End"}));
    EXPECT_EQ(computed, 3);
}

TEST(ReportRun, DataCheckMessages) {
    QStringList t = header(0, 10, 0, 0);
    Fixture f(t, {});
    f.report.DataSource = nullptr;
    f.run(ReportMessages::rrNothingDone);
    EXPECT_EQ(f.message, QStringLiteral("Není definován zdroj dat."));

    Fixture closed(t, numbered(1));
    closed.data.active_ = false;
    closed.data.openable = false;
    QString asked;
    closed.report.AskYesNo = [&](const QString& q) {
        asked = q;
        return true;
    };
    closed.run(ReportMessages::rrNothingDone);
    EXPECT_EQ(asked, QStringLiteral("Připojená tabulka není aktivní. Zkusit otevřít?"));
    EXPECT_EQ(closed.message, QStringLiteral("Připojenou tabulku se nepodařilo otevřít."));

    closed.data.openable = true;
    closed.run();
    EXPECT_FALSE(closed.data.Active()) << "a dataset the run opened is closed again";
}

// Cancels once the given number of records were announced.
class CancelAfter : public TReportProgress {
public:
    explicit CancelAfter(int records) : records_(records) {}
    void Show(const QString& message, bool cancellable) override {
        EXPECT_TRUE(message.startsWith(QStringLiteral("Připravuji tisk položky číslo: ")));
        EXPECT_TRUE(cancellable);
        ++shown_;
    }
    bool Cancelled() override { return shown_ >= records_; }

private:
    int records_;
    int shown_ = 0;
};

TEST(ReportRun, CancelledThroughTheProgressGivesResultThree) {
    QStringList t = header(0, 10, 0, 0);
    t << text("T", 0, 0, 100, 10, "", 2, 0);
    Fixture f(t, numbered(10));
    CancelAfter cancel(2);
    f.progress = &cancel;
    EXPECT_EQ(f.run(ReportMessages::rrCancelled), lines({"1 2 0,0,100,10 1", "1 2 0,10,100,10 2"}));
}

} // namespace

namespace {

TEST(ReportRun, VariableHeightTextGrowsAndMovesWhatLiesBelow) {
    static int argc = 1;
    static char name[] = "reports_tests";
    static char* argv[] = {name, nullptr};
    if (!QGuiApplication::instance())
        new QGuiApplication(argc, argv);
    QStringList t = header(0, 40, 0, 0);
    t << text("T", 0, 0, 100, 10, "Head") << text("T", 0, 10, 60, 10, "", 2, 0, eaVariableHeight)
      << text("T", 0, 25, 100, 10, "Below");
    const QString words = QStringLiteral("one two three four five six seven eight nine ten");
    Fixture f(t, {QStringList{words}});
    const TSestavaTyp& core = f.report;
    const TSiReportElement& grown = core.Oddily().Item(stBody).Elements[1];
    const QStringList lines = BreakText(grown, words, 60);
    ASSERT_GT(lines.size(), 2) << "the text needs several lines in 0.6 inch";
    const int height = static_cast<int>(lines.size()) * LineHeight(grown);
    EXPECT_EQ(f.run(), QStringLiteral("1 1 0,0,100,10 Head\n1 2 0,10,60,%1 %2\n1 1 0,%3,100,10 Below\n")
                           .arg(height)
                           .arg(lines.join(u'|'))
                           .arg(25 + height - 10));
    EXPECT_EQ(f.output.Page(0).Prvky[1].Text.split(u'\n').join(u' '), words);
}

} // namespace

namespace {

// A page set-up of three columns 26 apart: each column starts (826 + 26) / 3 = 284 to the right.
QStringList inColumns(QStringList t) {
    t[1] = QStringLiteral("I,2,0,826,1169,0,0,0,0,3,26");
    return t;
}

TEST(ReportRunColumns, BodiesGoAcrossThenDown) {
    QStringList t = inColumns(header(0, 10, 10, 0));
    t << text("T", 0, 0, 100, 10, "", 2, 0) << text("K", 0, 0, 100, 10, "End");
    Fixture f(t, numbered(7));
    EXPECT_EQ(f.run(), lines({"1 2 0,0,100,10 1", "1 2 284,0,100,10 2", "1 2 568,0,100,10 3",
                              "1 2 0,10,100,10 4", "1 2 284,10,100,10 5", "1 2 568,10,100,10 6",
                              "1 2 0,20,100,10 7", "1 1 0,30,100,10 End"}));
}

TEST(ReportRunColumns, GroupChangeEndsTheRow) {
    QStringList t = inColumns(header(0, 10, 0, 0));
    t << QStringLiteral("I,4,0,1,1,10,1,10,0") << text("S0", 0, 0, 100, 10, "S0")
      << text("T", 0, 0, 100, 10, "", 2, 0) << text("U0", 0, 0, 100, 10, "U0");
    Fixture f(t, rowsOf({"1;A", "2;A", "3;B"}));
    EXPECT_EQ(f.run(),
              lines({"1 1 0,0,100,10 S0", "1 2 0,10,100,10 1", "1 2 284,10,100,10 2", "1 1 0,20,100,10 U0",
                     "1 1 0,30,100,10 S0", "1 2 0,40,100,10 3", "1 1 0,50,100,10 U0"}));
}

TEST(ReportRunColumns, RowThatDoesNotFitStartsANewPageInTheFirstColumn) {
    // Rows of 500 under a head of 30: two rows fit above the foot of 50, the third goes over.
    QStringList t = inColumns(header(0, 500, 0, 50, 30));
    t << text("H", 0, 0, 100, 10, "Head") << text("T", 0, 0, 100, 10, "", 2, 0)
      << text("P", 0, 0, 100, 10, "Foot");
    Fixture f(t, numbered(7));
    EXPECT_EQ(f.run(), lines({"1 1 0,0,100,10 Head", "1 2 0,30,100,10 1", "1 2 284,30,100,10 2",
                              "1 2 568,30,100,10 3", "1 2 0,530,100,10 4", "1 2 284,530,100,10 5",
                              "1 2 568,530,100,10 6", "1 1 0,1119,100,10 Foot", "2 1 0,0,100,10 Head",
                              "2 2 0,30,100,10 7", "2 1 0,1119,100,10 Foot"}));
}

TEST(ReportRunColumns, ForcedBreakAndSkippedPositions) {
    QStringList t = inColumns(header(0, 10, 0, 0));
    t << text("T", 0, 0, 100, 10, "", 2, 0);
    Fixture f(t, numbered(3));
    // The application asks for a new page before the third body; two positions are left empty.
    TReportRun* running = nullptr;
    int bodies = 0;
    f.report.OnTiskOddilu = [&](TSestava&, int section, bool&) {
        if (section == stBody && ++bodies == 3)
            running->ForcedBreak = true;
    };
    TReportRun run(f.report, f.output);
    running = &run;
    run.SkipBodies = 2;
    ASSERT_EQ(run.Run(), ReportMessages::rrOK);
    EXPECT_EQ(f.output.Dump(), lines({"1 2 568,0,100,10 1", "1 2 0,10,100,10 2", "2 2 0,0,100,10 3"}));
}

} // namespace

namespace {

// Counts the turns the run gives the window.
class CountingProgress : public TReportProgress {
public:
    void Show(const QString&, bool) override {}
    bool Cancelled() override { return false; }
    void Yield() override { ++yields; }
    int yields = 0;
};

TEST(ReportRun, ControlsSuspendedAndTheWindowGetsATurnAfterEverySectionAndPage) {
    // Two bodies of 600 do not share a page: report start, two bodies, report end and a new page.
    QStringList t = header(10, 600, 10, 0);
    t << text("T", 0, 0, 100, 10, "", 2, 0);
    Fixture f(t, numbered(2));
    CountingProgress progress;
    f.progress = &progress;
    int disabledWhilePrinting = 0;
    f.report.OnTiskOddilu = [&](TSestava&, int, bool&) { disabledWhilePrinting = f.data.disabled; };
    f.run();
    EXPECT_EQ(f.output.PageCount(), 2);
    EXPECT_EQ(progress.yields, 4 + 1);
    EXPECT_EQ(disabledWhilePrinting, 1);
    EXPECT_EQ(f.data.disabled, 0) << "the controls follow the data again";
}

} // namespace
