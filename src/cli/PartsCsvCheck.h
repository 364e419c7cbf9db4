#pragma once
// The batch tool's strict reading of a CSV part list: every line is checked before anything is
// calculated, and every problem is named with its file and line. The window's import stays lenient
// (it takes what converts and drops or keeps the rest silently); the batch tool shows what that
// would do and, unless asked to go on, refuses the file.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace lintaro::cli {

struct TPartsCsvCheck {
    // Set when the file as a whole is refused ("parts.csv is not a text file"); no lines then.
    QString FileError;
    // One line per problem: "FILE:LINE: field 'X' is not a number: '562,5'".
    QStringList Problems;
    // Lines that hold a part the calculation can use.
    int GoodLines = 0;
};

// Checks the bytes of a part list named `fileName` (used in the messages as given) against the CSV
// form "caption;X;Y;orientation;count", sizes in the user's length unit with the locale's decimal
// separator. Empty lines are skipped; an empty count means 1, an empty orientation none.
TPartsCsvCheck CheckPartsCsv(const QString& fileName, const QByteArray& bytes);

// True when the bytes cannot be a text file: a NUL byte inside, or many control characters.
bool LooksBinary(const QByteArray& bytes);

} // namespace lintaro::cli
