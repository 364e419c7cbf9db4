#include "print/TextDataSet.h"

#include "foundation/TextFile.h"
#include "platform/Locale.h"

#include <QFileInfo>

namespace lintaro {

namespace {
const QString kIdField = QStringLiteral("ID");
const QString kBookmarkNotFound = QStringLiteral("Bookmark not found");
const QString kNoRecords = QStringLiteral("No Records");
} // namespace

QString TDataField::AsString() {
    if (Calculated)
        return DisplayText();
    return dataSet_ ? dataSet_->buffer_.text.left(Size) : QString();
}

QString TDataField::DisplayText() {
    if (Calculated || OnGetText)
        return OnGetText ? OnGetText(*this) : QString();
    return AsString();
}

void TDataField::SetAsString(const QString& text) {
    if (!dataSet_ || Calculated ||
        (dataSet_->state_ != TTextDataSet::dsEdit && dataSet_->state_ != TTextDataSet::dsInsert))
        return;
    dataSet_->buffer_.text = text.left(Size);
}

TTextDataSet::~TTextDataSet() = default;

TDataField& TTextDataSet::AddCalculatedField(const QString& name,
                                             std::function<QString(TDataField&)> onGetText, TFieldType type,
                                             int displayWidth) {
    auto field = std::make_unique<TDataField>();
    field->FieldName = name;
    field->DataType = type;
    field->DisplayWidth = displayWidth;
    field->Calculated = true;
    field->OnGetText = std::move(onGetText);
    field->dataSet_ = this;
    fields_.push_back(std::move(field));
    return *fields_.back();
}

bool TTextDataSet::Open() {
    if (active_)
        return true;
    error_.clear();
    QString text;
    if (FileName.isEmpty() || !QFileInfo(FileName).isFile() || !ReadTextFile(FileName, text, &error_)) {
        if (error_.isEmpty())
            error_ = QStringLiteral("Cannot open file \"%1\".").arg(FileName);
        return false;
    }
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(u'\r', u'\n');
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    lines_.clear();
    lines_.reserve(static_cast<size_t>(lines.size()));
    for (const QString& line : lines)
        lines_.push_back({line, static_cast<int>(lines_.size()) + 1});
    lastSequence_ = static_cast<int>(lines_.size());
    current_ = -1;
    modified_ = false;

    auto id = std::make_unique<TDataField>();
    id->FieldName = kIdField;
    id->DataType = ftString;
    id->Size = kRecordSize;
    id->DisplayWidth = kRecordSize;
    id->dataSet_ = this;
    id->OnGetText = OnGetIdText;
    fields_.insert(fields_.begin(), std::move(id));

    active_ = true;
    state_ = dsBrowse;
    First();
    return true;
}

bool TTextDataSet::Close() {
    if (!active_)
        return true;
    if (state_ == dsEdit || state_ == dsInsert)
        Cancel();
    if (modified_) {
        QString text;
        for (const Line& line : lines_)
            text += line.text + QLatin1String("\r\n");
        // Reading takes one byte-order mark off the file's start; a first row that itself begins
        // with U+FEFF keeps it only behind a mark of the file's own.
        QByteArray bytes = text.toUtf8();
        if (text.startsWith(QChar(0xFEFF)))
            bytes.prepend("\xEF\xBB\xBF");
        if (!WriteFileAtomically(FileName, bytes, &error_))
            return false;
    }
    lines_.clear();
    if (!fields_.empty() && !fields_.front()->Calculated)
        fields_.erase(fields_.begin());
    lastSequence_ = 0;
    current_ = -1;
    modified_ = false;
    active_ = false;
    state_ = dsInactive;
    bof_ = eof_ = true;
    clearBuffer();
    return true;
}

TTextDataSet::TGetResult TTextDataSet::GetRecord(TGetMode mode, bool check) {
    if (lines_.empty())
        return grEOF;
    const int count = RecordCount();
    TGetResult result = grOK;
    switch (mode) {
    case gmCurrent:
        result = current_ < 0 || current_ >= count ? grError : grOK;
        break;
    case gmNext:
        if (current_ < count - 1)
            ++current_;
        else
            result = grEOF;
        break;
    case gmPrior:
        if (current_ > 0)
            --current_;
        else
            result = grBOF;
        break;
    }
    if (result == grOK)
        loadBuffer();
    else if (result == grError && check)
        error_ = kNoRecords;
    return result;
}

void TTextDataSet::loadBuffer() {
    const Line& line = lines_[static_cast<size_t>(current_)];
    buffer_.text = line.text.left(kRecordSize);
    buffer_.bookmark = line.sequence;
    buffer_.current = true;
}

void TTextDataSet::clearBuffer() {
    buffer_ = Buffer();
}

void TTextDataSet::First() {
    if (!active_)
        return;
    current_ = -1;
    const bool found = GetRecord(gmNext, false) == grOK;
    bof_ = true;
    eof_ = !found;
    if (!found)
        clearBuffer();
}

void TTextDataSet::Last() {
    if (!active_)
        return;
    current_ = RecordCount();
    const bool found = GetRecord(gmPrior, false) == grOK;
    if (!found)
        current_ = -1;
    eof_ = true;
    bof_ = !found;
    if (!found)
        clearBuffer();
}

void TTextDataSet::Next() {
    if (!active_ || eof_)
        return;
    if (GetRecord(gmNext, false) == grOK)
        bof_ = false;
    else
        eof_ = true;
}

void TTextDataSet::Prior() {
    if (!active_ || bof_)
        return;
    if (GetRecord(gmPrior, false) == grOK)
        eof_ = false;
    else
        bof_ = true;
}

int TTextDataSet::RecNo() const {
    if (current_ == -1 && !lines_.empty())
        return 1;
    return current_ + 1;
}

void TTextDataSet::SetRecNo(int n) {
    if (!active_ || n < 1 || n > RecordCount())
        return;
    current_ = n - 1;
    loadBuffer();
    bof_ = eof_ = false;
}

bool TTextDataSet::GotoBookmark(int bookmark) {
    for (size_t i = 0; i < lines_.size(); ++i)
        if (lines_[i].sequence == bookmark) {
            current_ = static_cast<int>(i);
            loadBuffer();
            bof_ = eof_ = false;
            return true;
        }
    error_ = kBookmarkNotFound;
    return false;
}

bool TTextDataSet::Edit() {
    if (!active_ || GetRecord(gmCurrent, true) != grOK)
        return false;
    state_ = dsEdit;
    return true;
}

bool TTextDataSet::Insert() {
    if (!active_)
        return false;
    state_ = dsInsert;
    appending_ = false;
    buffer_ = Buffer(); // a new record starts empty
    return true;
}

bool TTextDataSet::Append() {
    if (!Insert())
        return false;
    appending_ = true;
    return true;
}

bool TTextDataSet::Post() {
    if (state_ == dsEdit) {
        modified_ = true;
        lines_[static_cast<size_t>(current_)].text = buffer_.text;
    } else if (state_ == dsInsert) {
        modified_ = true;
        ++lastSequence_;
        if (appending_)
            current_ = RecordCount();
        const int at = std::clamp(current_, 0, RecordCount());
        lines_.insert(lines_.begin() + at, Line{buffer_.text, lastSequence_});
        current_ = at;
    } else {
        return false;
    }
    state_ = dsBrowse;
    appending_ = false;
    loadBuffer();
    bof_ = eof_ = false;
    return true;
}

void TTextDataSet::Cancel() {
    if (state_ != dsEdit && state_ != dsInsert)
        return;
    state_ = dsBrowse;
    appending_ = false;
    if (GetRecord(gmCurrent, false) != grOK)
        clearBuffer();
}

bool TTextDataSet::Delete() {
    if (!active_ || state_ != dsBrowse || GetRecord(gmCurrent, true) != grOK)
        return false;
    modified_ = true;
    lines_.erase(lines_.begin() + current_);
    if (current_ >= RecordCount())
        --current_;
    if (current_ >= 0) {
        loadBuffer();
    } else {
        clearBuffer();
        bof_ = eof_ = true;
    }
    return true;
}

TDataField* TTextDataSet::Field(int index) const {
    return index >= 0 && index < FieldCount() ? fields_[static_cast<size_t>(index)].get() : nullptr;
}

TDataField* TTextDataSet::FieldByName(const QString& name) const {
    for (const auto& f : fields_)
        if (Locale::sameText(f->FieldName, name))
            return f.get();
    return nullptr;
}

QString TTextDataSet::FieldName(int index) const {
    const TDataField* f = Field(index);
    return f ? f->FieldName : QString();
}

QString TTextDataSet::FieldDisplayLabel(int index) const {
    const TDataField* f = Field(index);
    return f ? f->Label() : QString();
}

TFieldType TTextDataSet::FieldDataType(int index) const {
    const TDataField* f = Field(index);
    return f ? f->DataType : ftUnknown;
}

TFieldAlignment TTextDataSet::FieldAlignment(int index) const {
    const TDataField* f = Field(index);
    return f ? f->Alignment : faLeftJustify;
}

int TTextDataSet::FieldDisplayWidth(int index) const {
    const TDataField* f = Field(index);
    return f ? f->DisplayWidth : 0;
}

QString TTextDataSet::FieldDisplayText(int index) {
    TDataField* f = Field(index);
    return f ? f->DisplayText() : QString();
}

bool TTextDataSet::FieldIsNull(int index) {
    TDataField* f = Field(index);
    return !f || (!f->Calculated && f->AsString().isEmpty());
}

} // namespace lintaro
