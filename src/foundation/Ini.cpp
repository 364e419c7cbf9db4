#include "foundation/Ini.h"

#include "foundation/TextFile.h"

#include "platform/Locale.h"

#include <QFileDevice>
#include <QIODevice>
#include <algorithm>

namespace lintaro {

struct TINI::SectionData {
    QString name;
    QStringList lines;
};

namespace {

// Equal strings upper-case equally, so the costly locale upper-casing is needed only when they differ.
bool sameUpper(const QString& text, const QString& upperOther, const QString& other) {
    return text == other || Locale::toUpper(text) == upperOther;
}

// Reads everything first, so that a read error leaves the storage untouched.
bool readWholeDevice(QIODevice& device, QByteArray& out, QString& error) {
    if (!device.isReadable()) {
        error = QStringLiteral("The device is not open for reading.");
        return false;
    }
    QByteArray data;
    char chunk[64 * 1024];
    for (;;) {
        const qint64 n = device.read(chunk, sizeof chunk);
        if (n < 0) {
            error = device.errorString();
            return false;
        }
        if (n == 0)
            break;
        data.append(chunk, n);
    }
    if (const auto* file = qobject_cast<const QFileDevice*>(&device);
        file && file->error() != QFileDevice::NoError) {
        error = file->errorString();
        return false;
    }
    out = std::move(data);
    return true;
}

} // namespace

int IndexOfKey(const QStringList& lines, const QString& key) {
    const QString upperKey = Locale::toUpper(key);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        const qsizetype eq = line.indexOf(u'=');
        if (eq >= 0 && sameUpper(line.first(eq), upperKey, key))
            return static_cast<int>(i);
    }
    return -1;
}

QString ReadValue(const QStringList& lines, const QString& key) {
    const int i = IndexOfKey(lines, key);
    if (i < 0)
        return QString();
    const QString& line = lines[i];
    return line.sliced(line.indexOf(u'=') + 1);
}

std::map<int, QString> ReadNumberedValues(const QStringList& lines, const QString& prefix, int count) {
    std::map<int, QString> values;
    const QString upperPrefix = Locale::toUpper(prefix);
    for (const QString& line : lines) {
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= prefix.size())
            continue;
        const QString key = Locale::toUpper(line.first(eq));
        if (!key.startsWith(upperPrefix))
            continue;
        const QString digits = key.sliced(upperPrefix.size());
        if (digits.startsWith(u'0') ||
            !std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
            continue;
        bool ok = false;
        const int k = digits.toInt(&ok);
        if (ok && k >= 1 && k <= count)
            values.emplace(k, line.sliced(eq + 1)); // the first line of a key wins
    }
    return values;
}

void WriteValue(QStringList& lines, const QString& key, const QString& value) {
    const int i = IndexOfKey(lines, key);
    if (value.isEmpty()) {
        if (i >= 0)
            lines.removeAt(i);
        return;
    }
    QString line = key + u'=' + value;
    if (i >= 0)
        lines[i] = std::move(line);
    else
        lines.append(std::move(line));
}

TINI::TINI() = default;
TINI::~TINI() = default;
TINI::TINI(TINI&&) noexcept = default;
TINI& TINI::operator=(TINI&&) noexcept = default;

TINI::SectionData* TINI::find(const QString& name) const {
    const QString upperName = Locale::toUpper(name);
    for (const auto& section : sections_) {
        if (sameUpper(section->name, upperName, name))
            return section.get();
    }
    return nullptr;
}

QStringList* TINI::FindSection(const QString& name) {
    SectionData* section = find(name);
    return section ? &section->lines : nullptr;
}

const QStringList* TINI::FindSection(const QString& name) const {
    const SectionData* section = find(name);
    return section ? &section->lines : nullptr;
}

QStringList& TINI::Section(const QString& name) {
    if (SectionData* section = find(name))
        return section->lines;
    sections_.push_back(std::make_unique<SectionData>(SectionData{name, {}}));
    return sections_.back()->lines;
}

QString TINI::ReadString(const QString& section, const QString& key) const {
    const QStringList* lines = FindSection(section);
    return lines ? ReadValue(*lines, key) : QString();
}

void TINI::WriteString(const QString& section, const QString& key, const QString& value) {
    WriteValue(Section(section), key, value);
}

void TINI::EraseSection(const QString& name) {
    const SectionData* section = find(name);
    if (!section)
        return;
    std::erase_if(sections_, [section](const auto& s) { return s.get() == section; });
}

void TINI::EraseSections(const QString& prefix) {
    const QString upperPrefix = Locale::toUpper(prefix);
    std::erase_if(sections_,
                  [&upperPrefix](const auto& s) { return Locale::toUpper(s->name).startsWith(upperPrefix); });
}

QStringList TINI::SectionNames() const {
    QStringList names;
    names.reserve(static_cast<qsizetype>(sections_.size()));
    for (const auto& section : sections_)
        names.append(section->name);
    return names;
}

int TINI::SectionCount() const {
    return static_cast<int>(sections_.size());
}

void TINI::parseLine(const QString& line, SectionData*& current) {
    if (line.isEmpty())
        return;
    // "[]" names nothing, so it stays an ordinary line.
    if (line.size() > 2 && line.front() == u'[' && line.back() == u']') {
        const QString name = line.sliced(1, line.size() - 2);
        current = find(name);
        if (!current) {
            sections_.push_back(std::make_unique<SectionData>(SectionData{name, {}}));
            current = sections_.back().get();
        }
        return;
    }
    // Lines before the first header belong to no section and are dropped.
    if (current)
        current->lines.append(line);
}

void TINI::FromText(const QString& text) {
    SectionData* current = nullptr;
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    const qsizetype end = nul >= 0 ? nul : text.size();
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < end) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            parseLine(text.sliced(start, i - start), current);
            ++i;
            if (c == u'\r' && i < end && text[i] == u'\n')
                ++i;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < end)
        parseLine(text.sliced(start, end - start), current);
}

void TINI::LoadFromBytes(const QByteArray& bytes) {
    FromText(DecodeTextBytes(bytes));
}

bool TINI::LoadFromStream(QIODevice& device) {
    QByteArray bytes;
    if (!readWholeDevice(device, bytes, errorString_))
        return false;
    LoadFromBytes(bytes);
    errorString_.clear();
    return true;
}

bool TINI::LoadFromFile(const QString& fileName) {
    const QString name = fileName.isEmpty() ? fileName_ : fileName;
    if (name.isEmpty()) {
        errorString_ = QStringLiteral("No file name given.");
        return false;
    }
    QByteArray bytes;
    if (!ReadFileBytes(name, bytes, &errorString_))
        return false;
    LoadFromBytes(bytes);
    fileName_ = name;
    errorString_.clear();
    return true;
}

QString TINI::ToText() const {
    static const QString lineEnd = QStringLiteral("\r\n");
    QString text;
    for (std::size_t s = 0; s < sections_.size(); ++s) {
        const SectionData& section = *sections_[s];
        if (s > 0)
            text += lineEnd;
        text += u'[' + section.name + u']' + lineEnd;
        for (const QString& line : section.lines)
            text += line + lineEnd;
    }
    return text;
}

QByteArray TINI::ToBytes() const {
    return ToText().toUtf8();
}

bool TINI::SaveToStream(QIODevice& device) const {
    const QByteArray bytes = ToBytes();
    if (!device.isWritable()) {
        errorString_ = QStringLiteral("The device is not open for writing.");
        return false;
    }
    if (device.write(bytes) != bytes.size()) {
        errorString_ = device.errorString();
        return false;
    }
    errorString_.clear();
    return true;
}

bool TINI::SaveToFile(const QString& fileName) {
    const QString name = fileName.isEmpty() ? fileName_ : fileName;
    if (name.isEmpty()) {
        errorString_ = QStringLiteral("No file name given.");
        return false;
    }
    if (!WriteFileAtomically(name, ToBytes(), &errorString_))
        return false;
    fileName_ = name;
    errorString_.clear();
    return true;
}

} // namespace lintaro
