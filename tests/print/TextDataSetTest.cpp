#include "print/TextDataSet.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

using namespace lintaro;

namespace {

class TextDataSet : public ::testing::Test {
protected:
    // A dataset over a file with these bytes, with one calculated field that reads "ID".
    void open(const QByteArray& bytes) {
        ASSERT_TRUE(dir.isValid());
        file = QDir(dir.path()).filePath(QStringLiteral("data.txt"));
        ASSERT_TRUE(test::writeFileBytes(file, bytes));
        data.FileName = file;
        data.AddCalculatedField(QStringLiteral("Caption"),
                                [](TDataField& f) {
                                    return QStringLiteral("<") +
                                           f.DataSet()->FieldByName(QStringLiteral("id"))->AsString() + u'>';
                                })
            .DisplayLabel = QStringLiteral("Název");
        ASSERT_TRUE(data.Open());
    }
    QByteArray fileBytes() const { return test::readFileBytes(file); }
    QStringList walk() {
        QStringList seen;
        for (data.First(); !data.Eof(); data.Next())
            seen << data.RecordText();
        return seen;
    }

    QTemporaryDir dir;
    QString file;
    TTextDataSet data;
};

TEST_F(TextDataSet, EmptyFileHasNoRecordsButCalculatedFieldsAnswer) {
    open(QByteArray());
    EXPECT_EQ(data.RecordCount(), 0);
    EXPECT_TRUE(data.Eof());
    EXPECT_TRUE(data.Bof());
    EXPECT_EQ(data.RecNo(), 0);
    EXPECT_EQ(data.GetRecord(TTextDataSet::gmNext, true), TTextDataSet::grEOF);
    EXPECT_EQ(data.FieldDisplayText(1), QStringLiteral("<>"));
    EXPECT_TRUE(data.FieldIsNull(0));
    EXPECT_FALSE(data.Delete());
    EXPECT_TRUE(data.Close());
    EXPECT_TRUE(fileBytes().isEmpty());
}

TEST_F(TextDataSet, WalksTheLinesAndNumbersThem) {
    open("P1\r\nP2\nP3\r\n");
    EXPECT_EQ(walk(), (QStringList{"P1", "P2", "P3"}));
    EXPECT_TRUE(data.Eof());
    EXPECT_EQ(data.RecNo(), 3);
    data.Last();
    EXPECT_EQ(data.RecordText(), QStringLiteral("P3"));
    data.Prior();
    data.Prior();
    EXPECT_EQ(data.RecordText(), QStringLiteral("P1"));
    EXPECT_EQ(data.Bookmark(), 1);
    data.Prior();
    EXPECT_TRUE(data.Bof());
    EXPECT_EQ(data.CurrentIndex(), 0);
}

TEST_F(TextDataSet, RecordBufferHoldsTwentyFourCharacters) {
    const QByteArray longLine = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123";
    open(longLine + "\r\n");
    EXPECT_EQ(data.RecordText(), QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWX"));
    EXPECT_EQ(data.FieldDisplayText(0), QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWX"));
    EXPECT_EQ(data.FieldDisplayText(1), QStringLiteral("<ABCDEFGHIJKLMNOPQRSTUVWX>"));
    EXPECT_TRUE(data.Close());
    EXPECT_EQ(fileBytes(), longLine + "\r\n"); // not posted: the file is not rewritten
}

TEST_F(TextDataSet, PostingCutsTheLineAndWritesTheFileBackOnClose) {
    open("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123\r\nB\r\n");
    ASSERT_TRUE(data.Edit());
    data.FieldByName(QStringLiteral("ID"))->SetAsString(data.RecordText());
    ASSERT_TRUE(data.Post());
    EXPECT_TRUE(data.Modified());
    EXPECT_TRUE(data.Close());
    EXPECT_EQ(fileBytes(), QByteArray("ABCDEFGHIJKLMNOPQRSTUVWX\r\nB\r\n"));
    EXPECT_FALSE(data.Active());
}

TEST_F(TextDataSet, AFirstRowBeginningWithAByteOrderMarkKeepsItWhenAnotherRowIsWritten) {
    // The file begins with two marks: the first is the file's own, the second belongs to the row.
    open("\xEF\xBB\xBF\xEF\xBB\xBFx\ny\n");
    EXPECT_EQ(data.RecordText(), QString(QChar(0xFEFF)) + u'x');
    data.Next();
    ASSERT_TRUE(data.Edit());
    data.FieldByName(QStringLiteral("ID"))->SetAsString(QStringLiteral("z"));
    ASSERT_TRUE(data.Post());
    EXPECT_TRUE(data.Close());
    ASSERT_TRUE(data.Open());
    EXPECT_EQ(walk(), (QStringList{QString(QChar(0xFEFF)) + u'x', QStringLiteral("z")}));
    EXPECT_EQ(fileBytes(), QByteArray("\xEF\xBB\xBF\xEF\xBB\xBFx\r\nz\r\n"));
}

TEST_F(TextDataSet, DeletingTheLastLineMovesToTheNewLast) {
    open("A\r\nB\r\nC\r\n");
    data.Last();
    ASSERT_TRUE(data.Delete());
    EXPECT_EQ(data.CurrentIndex(), 1);
    EXPECT_EQ(data.RecordText(), QStringLiteral("B"));
    ASSERT_TRUE(data.Delete());
    ASSERT_TRUE(data.Delete());
    EXPECT_EQ(data.CurrentIndex(), -1);
    EXPECT_EQ(data.RecordCount(), 0);
    EXPECT_EQ(data.GetRecord(TTextDataSet::gmCurrent, true), TTextDataSet::grEOF);
    EXPECT_TRUE(data.Close());
    EXPECT_TRUE(fileBytes().isEmpty());
}

TEST_F(TextDataSet, RecordNumbersOutsideTheRecordsChangeNothing) {
    open("A\r\nB\r\nC\r\n");
    data.SetRecNo(2);
    EXPECT_EQ(data.RecordText(), QStringLiteral("B"));
    for (int n : {0, -1, 4, 1000}) {
        data.SetRecNo(n);
        EXPECT_EQ(data.RecNo(), 2) << n;
        EXPECT_EQ(data.RecordText(), QStringLiteral("B")) << n;
    }
    data.SetRecNo(3); // the last record can be reached by its number
    EXPECT_EQ(data.RecordText(), QStringLiteral("C"));
}

TEST_F(TextDataSet, InsertedAndAppendedRecordsGetNewSequenceNumbers) {
    open("A\r\nB\r\n");
    data.SetRecNo(2);
    ASSERT_TRUE(data.Insert());
    data.FieldByName(QStringLiteral("ID"))->SetAsString(QStringLiteral("new"));
    ASSERT_TRUE(data.Post());
    EXPECT_EQ(data.Bookmark(), 3);
    ASSERT_TRUE(data.Append());
    data.FieldByName(QStringLiteral("ID"))->SetAsString(QStringLiteral("end"));
    ASSERT_TRUE(data.Post());
    EXPECT_EQ(data.Bookmark(), 4);
    EXPECT_EQ(walk(), (QStringList{"A", "new", "B", "end"}));
    // Bookmarks follow the lines, not their positions.
    ASSERT_TRUE(data.GotoBookmark(2));
    EXPECT_EQ(data.RecordText(), QStringLiteral("B"));
    ASSERT_TRUE(data.Delete());
    EXPECT_FALSE(data.GotoBookmark(2));
    EXPECT_EQ(data.ErrorText(), QStringLiteral("Bookmark not found"));
    EXPECT_TRUE(data.Close());
    EXPECT_EQ(fileBytes(), QByteArray("A\r\nnew\r\nend\r\n"));
}

TEST_F(TextDataSet, CurrentRecordOutsideTheLinesIsNoRecords) {
    open("A\r\nB\r\n");
    data.InternalFirst();
    EXPECT_EQ(data.RecNo(), 1);
    EXPECT_EQ(data.GetRecord(TTextDataSet::gmCurrent, false), TTextDataSet::grError);
    EXPECT_TRUE(data.ErrorText().isEmpty());
    EXPECT_EQ(data.GetRecord(TTextDataSet::gmCurrent, true), TTextDataSet::grError);
    EXPECT_EQ(data.ErrorText(), QStringLiteral("No Records"));
    EXPECT_FALSE(data.Edit());
    EXPECT_EQ(data.GetRecord(TTextDataSet::gmNext, true), TTextDataSet::grOK);
    EXPECT_EQ(data.RecordText(), QStringLiteral("A"));
    data.InternalLast();
    EXPECT_EQ(data.GetRecord(TTextDataSet::gmCurrent, true), TTextDataSet::grError);
    EXPECT_EQ(data.GetRecord(TTextDataSet::gmPrior, true), TTextDataSet::grOK);
    EXPECT_EQ(data.RecordText(), QStringLiteral("B"));
    EXPECT_EQ(data.GetRecord(TTextDataSet::gmNext, true), TTextDataSet::grEOF);
}

TEST_F(TextDataSet, FieldsDescribeThemselves) {
    open("A\r\n");
    ASSERT_EQ(data.FieldCount(), 2);
    EXPECT_EQ(data.FieldName(0), QStringLiteral("ID"));
    EXPECT_EQ(data.FieldDataType(0), ftString);
    EXPECT_EQ(data.FieldDisplayWidth(0), 24);
    EXPECT_EQ(data.FieldName(1), QStringLiteral("Caption"));
    EXPECT_EQ(data.FieldDisplayLabel(1), QStringLiteral("Název"));
    EXPECT_EQ(data.FieldDisplayLabel(0), QStringLiteral("ID"));
    EXPECT_EQ(data.FieldAlignment(1), faLeftJustify);
    EXPECT_EQ(data.FieldName(5), QString());
    EXPECT_TRUE(data.Close());
    // The declared fields stay; "ID" comes back with the next opening.
    EXPECT_EQ(data.FieldCount(), 1);
    ASSERT_TRUE(data.Open());
    EXPECT_EQ(data.FieldCount(), 2);
    EXPECT_EQ(data.FieldDisplayText(1), QStringLiteral("<A>"));
}

TEST(TextDataSetFile, MissingFileLeavesTheDataSetClosed) {
    TTextDataSet data;
    EXPECT_FALSE(data.Open());
    data.FileName = QStringLiteral("/nonexistent/folder/data.txt");
    EXPECT_FALSE(data.Open());
    EXPECT_FALSE(data.Active());
    EXPECT_FALSE(data.ErrorText().isEmpty());
}

TEST(TextDataSetFile, AFailedWriteBackKeepsTheLines) {
    QTemporaryDir dir;
    const QString file = QDir(dir.path()).filePath(QStringLiteral("data.txt"));
    ASSERT_TRUE(test::writeFileBytes(file, "A\r\n"));
    TTextDataSet data;
    data.FileName = file;
    ASSERT_TRUE(data.Open());
    ASSERT_TRUE(data.Delete());
    data.FileName = QDir(dir.path()).filePath(QStringLiteral("missing/data.txt"));
    EXPECT_FALSE(data.Close());
    EXPECT_TRUE(data.Active());
    data.FileName = file;
    EXPECT_TRUE(data.Close());
    EXPECT_TRUE(test::readFileBytes(file).isEmpty());
}

} // namespace
