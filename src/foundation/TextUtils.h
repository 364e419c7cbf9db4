#pragma once
// Small text functions shared by the record, file and export code.
#include <QByteArray>
#include <QChar>
#include <QString>

namespace lintaro {

// Replaces the first occurrence of find, searching from the start each time, until none is left, so
// that a replacement joining with its neighbours to a new occurrence is replaced as well ("aab",
// "ab", "b" gives "b"). When repl itself contains find that would never end; then every occurrence
// is replaced once, left to right. An empty find leaves the text unchanged. Case-sensitive.
QString ReplaceAll(const QString& text, const QString& find, const QString& repl);

// ch put in front of text until its length is at least width.
QString PadLeft(const QString& text, QChar ch, int width);

// Each byte as two upper-case hexadecimal digits, the pairs joined by sep.
QString BytesToHex(const QByteArray& bytes, const QString& sep);
// BytesToHex of the text's UTF-8 bytes, the encoding of every file the program writes.
QString StrToHex(const QString& text, const QString& sep);

// Removes every sep, then turns each pair of hexadecimal digits (either case) into one byte; a final
// single digit is ignored. Throws ConversionError on a pair that is not hexadecimal.
QByteArray HexToBytes(const QString& text, const QString& sep);
// HexToBytes read as UTF-8, the inverse of StrToHex.
QString HexToStr(const QString& text, const QString& sep);

// One-line form of a text for an INI value: every line break (CR LF, LF or CR) becomes "¶" and NUL
// characters, which would end the file on reading, are dropped.
QString EncodeLineBreaks(const QString& text);
// "¶" back to CR LF.
QString DecodeLineBreaks(const QString& text);

} // namespace lintaro
