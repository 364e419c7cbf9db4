#pragma once
// The record source of every printed report: the lines of a text file, one record per line. Each line
// carries a sequence number that serves as its bookmark. The one stored field "ID" holds the line
// (24 characters of it); any other field is a calculated one whose text a callback produces from
// the current "ID". Edits are written back to the file on close.
//
// Failures are values: Open and Close return false, navigation reports through GetRecord's result,
// and ErrorText() keeps the last message ("Bookmark not found", "No Records" or the file error).
#include "reports/ReportDataSet.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

namespace lintaro {

class TTextDataSet;

class TDataField {
public:
    QString FieldName;
    QString DisplayLabel; // empty: the field name
    TFieldType DataType = ftString;
    TFieldAlignment Alignment = faLeftJustify;
    int DisplayWidth = 0;
    int Size = 0; // characters of a stored field
    bool Calculated = false;
    // The text of a calculated field.
    std::function<QString(TDataField& field)> OnGetText;

    TTextDataSet* DataSet() const { return dataSet_; }
    QString Label() const { return DisplayLabel.isEmpty() ? FieldName : DisplayLabel; }
    // The stored text of the current record (a calculated field: its display text).
    QString AsString();
    // The printed text: the callback's for a calculated field, the stored text otherwise.
    QString DisplayText();
    // Puts text (cut to the field's size) into the record being edited or inserted.
    void SetAsString(const QString& text);

private:
    friend class TTextDataSet;
    TTextDataSet* dataSet_ = nullptr;
};

class TTextDataSet : public TReportDataSet {
public:
    static constexpr int kRecordSize = 24;
    static constexpr int kBookmarkSize = 4;

    enum TGetMode { gmCurrent, gmNext, gmPrior };
    enum TGetResult { grOK, grBOF, grEOF, grError };
    enum TState { dsInactive, dsBrowse, dsEdit, dsInsert };

    TTextDataSet() = default;
    ~TTextDataSet() override;
    TTextDataSet(const TTextDataSet&) = delete;
    TTextDataSet& operator=(const TTextDataSet&) = delete;

    QString FileName;
    // The display text of the stored field "ID" while open; none: the stored text itself.
    std::function<QString(TDataField& field)> OnGetIdText;

    // Declares a calculated field; declared fields stay across opening and closing.
    TDataField& AddCalculatedField(const QString& name, std::function<QString(TDataField&)> onGetText,
                                   TFieldType type = ftString, int displayWidth = 20);

    bool Active() const override { return active_; }
    // Loads the lines and numbers them 1..n; positioned on the first record (none for an empty file).
    bool Open() override;
    // Writes the lines back when they were changed, then releases them. A failed write keeps the
    // dataset open with its lines, so nothing is lost.
    bool Close() override;
    TState State() const { return state_; }
    bool Modified() const { return modified_; }

    void First() override;
    void Next() override;
    void Prior() override;
    void Last() override;
    bool Bof() const override { return bof_; }
    bool Eof() const override { return eof_; }
    int RecordCount() const override { return static_cast<int>(lines_.size()); }
    // 1-based; 1 before the first record of a non-empty dataset, 0 when it is empty.
    int RecNo() const;
    // Moves to record number n (1…count); any other number changes nothing.
    void SetRecNo(int n);
    int Bookmark() const override { return buffer_.bookmark; }
    // False with "Bookmark not found" when no line has that sequence number.
    bool GotoBookmark(int bookmark) override;
    // Positions before the first record, resp. just past the last one, without fetching: the next
    // GetRecord(gmNext), resp. gmPrior, yields the first, resp. last, record.
    void InternalFirst() { current_ = -1; }
    void InternalLast() { current_ = RecordCount(); }
    // One fetch from the current index; grError with check set leaves "No Records" in ErrorText().
    TGetResult GetRecord(TGetMode mode, bool check);
    // The record buffer's text: the current line cut to 24 characters.
    const QString& RecordText() const { return buffer_.text; }
    int CurrentIndex() const { return current_; }

    bool Edit();
    bool Insert();
    bool Append();
    bool Post();
    void Cancel();
    bool Delete();

    int FieldCount() const override { return static_cast<int>(fields_.size()); }
    TDataField* Field(int index) const;
    TDataField* FieldByName(const QString& name) const;
    QString FieldName(int index) const override;
    QString FieldDisplayLabel(int index) const override;
    TFieldType FieldDataType(int index) const override;
    TFieldAlignment FieldAlignment(int index) const override;
    int FieldDisplayWidth(int index) const override;
    QString FieldDisplayText(int index) override;
    bool FieldIsNull(int index) override;

    QString ErrorText() const { return error_; }

private:
    friend class TDataField;
    struct Line {
        QString text;
        int sequence;
    };
    struct Buffer {
        QString text; // at most kRecordSize characters
        int bookmark = 0;
        bool current = false; // the bookmark flag
    };
    void loadBuffer();
    void clearBuffer();

    std::vector<Line> lines_;
    std::vector<std::unique_ptr<TDataField>> fields_; // "ID" first while open, then the declared ones
    int lastSequence_ = 0;
    int current_ = -1;
    bool active_ = false;
    bool modified_ = false;
    bool bof_ = true;
    bool eof_ = true;
    bool appending_ = false;
    TState state_ = dsInactive;
    Buffer buffer_;
    QString error_;
};

} // namespace lintaro
