#pragma once
// Small helpers shared by the test executables.
#include <QByteArray>
#include <QString>
#include <ostream>

namespace lintaro::test {

// A file under the test data folder.
QString dataPath(const QString& relative);
// A shipped sample (material or order) in the build's program folder.
QString samplePath(const QString& name);
QByteArray readFileBytes(const QString& path);
bool writeFileBytes(const QString& path, const QByteArray& bytes);
// Runs the start-up values on the build's program folder, where the shipped data files lie, so
// that texts such as default captions are those of the shipped LNTR.TXS.
void initProgramForTests();
// A QGuiApplication for tests that draw or measure fonts, made once when no application exists.
void ensureGuiApplication();

} // namespace lintaro::test

// Readable QString values in GoogleTest messages.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE
