// lintaro-picturegen FOLDER: draws the program's pictures and writes FOLDER/LNTR.PIS and
// FOLDER/LNTR.PCS. Exit code 0 on success, 1 when writing fails, 2 for bad usage.
#include "Catalogue.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
    // Pictures with text need fonts, hence a GUI application; no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    if (args.size() != 2 || args[1].startsWith(u'-')) {
        std::fprintf(stderr,
                     "usage: lintaro-picturegen FOLDER (writes FOLDER/LNTR.PIS and FOLDER/LNTR.PCS)\n");
        return 2;
    }
    lintaro::tools::TPictureSources sources;
    lintaro::tools::AddPatternPictures(sources);
    int written = 0;
    QString error;
    if (!lintaro::tools::WritePictureFiles(sources, args[1], &written, &error)) {
        std::fprintf(stderr, "lintaro-picturegen: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("%d pictures written to %s\n", written, qPrintable(args[1]));
    return 0;
}
