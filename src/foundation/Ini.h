#pragma once
// TINI: the program's one text format (orders, materials, text resources, report and HTML templates)
// held in memory as an ordered list of named sections, each an ordered list of text lines, normally
// "key=value". Lines are kept exactly as read, comments and duplicates included, and are written
// back in the same order.
//
// Ownership: the TINI owns every section. FindSection and Section hand a section's lines out by
// reference for the caller to edit in place; the pointer stays valid until that section is erased or
// the TINI is destroyed. Never free it.
//
// Failure: nothing here throws. A missing section or key reads as an empty text. LoadFromFile,
// LoadFromStream, SaveToFile and SaveToStream return false when the device or file cannot be opened,
// read or written; a failed load leaves the storage (FileName included) as it was, a failed save
// leaves the previous file and FileName as they were. ErrorString gives the reason for the user.
//
// Names of sections and keys match without regard to case, by the locale's upper-casing; the first
// match in order wins.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <map>
#include <memory>
#include <vector>

QT_BEGIN_NAMESPACE
class QIODevice;
QT_END_NAMESPACE

namespace lintaro {

// Key access on any list of "key=value" lines, such as a section handed out by TINI::Section.
// A line's key is its text before the first "="; lines without "=" have no key. Blanks around "="
// are part of key and value.

// Index of the first line whose key matches Key, else -1.
int IndexOfKey(const QStringList& lines, const QString& key);
// The text after the first "=" of the first matching line; empty when no line matches.
QString ReadValue(const QStringList& lines, const QString& key);
// Replaces the first matching line by Key "=" Value (Key as spelled here), or appends it when none
// matches. An empty Value removes the first matching line instead, so an empty value is never stored.
void WriteValue(QStringList& lines, const QString& key, const QString& value);

// The values of the keys Prefix1 … Prefix<count> of a section, by number, each key's first line
// winning (keys compared as ReadValue compares them; no leading zeros). Gathered in one pass over the
// lines, so that a damaged count costs no more than the lines present.
std::map<int, QString> ReadNumberedValues(const QStringList& lines, const QString& prefix, int count);

class TINI {
public:
    TINI();
    ~TINI();
    TINI(const TINI&) = delete;
    TINI& operator=(const TINI&) = delete;
    TINI(TINI&&) noexcept;
    TINI& operator=(TINI&&) noexcept;

    // The lines of the first section whose name matches, else nullptr.
    QStringList* FindSection(const QString& name);
    const QStringList* FindSection(const QString& name) const;
    // FindSection; when missing, a new empty section of that name is appended and returned.
    QStringList& Section(const QString& name);

    // The value of Key in the section; empty when the section or the key is missing.
    QString ReadString(const QString& section, const QString& key) const;
    // Creates the section at the end when missing, then sets the key as WriteValue does.
    void WriteString(const QString& section, const QString& key, const QString& value);

    // Removes the first matching section; nothing when there is none.
    void EraseSection(const QString& name);
    // Removes every section whose upper-cased name begins with the upper-cased prefix.
    void EraseSections(const QString& prefix);

    // Section names in order, spelled as when each section was first created.
    QStringList SectionNames() const;
    int SectionCount() const;

    // Loading adds to the sections held: a header naming an existing section appends to it.
    // An empty file name means FileName(). The whole file is read before parsing starts.
    bool LoadFromFile(const QString& fileName = QString());
    bool LoadFromStream(QIODevice& device);
    // The bytes of a file: UTF-8 (a leading BOM skipped), else Windows-1250; a NUL byte ends them.
    void LoadFromBytes(const QByteArray& bytes);
    // Lines split at CR LF, lone CR or lone LF; a NUL character ends the text.
    void FromText(const QString& text);

    // Writes through a save file beside the target, which replaces the target only when complete.
    // An empty file name means FileName().
    bool SaveToFile(const QString& fileName = QString());
    bool SaveToStream(QIODevice& device) const;
    // The saved form: each section's "[name]" header and lines, an empty line between sections,
    // every line ended by CR LF. ToBytes is its UTF-8 encoding, without BOM.
    QString ToText() const;
    QByteArray ToBytes() const;

    // The file last loaded or saved successfully.
    const QString& FileName() const { return fileName_; }
    // Why the last LoadFromFile, LoadFromStream, SaveToFile or SaveToStream failed; empty after success.
    const QString& ErrorString() const { return errorString_; }

private:
    struct SectionData;
    SectionData* find(const QString& name) const;
    void parseLine(const QString& line, SectionData*& current);

    std::vector<std::unique_ptr<SectionData>> sections_;
    QString fileName_;
    mutable QString errorString_; // a diagnostic beside the results, not part of the stored text
};

} // namespace lintaro
