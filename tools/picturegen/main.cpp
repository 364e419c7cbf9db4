// lintaro-picturegen FOLDER [--icons THEME_FOLDER]: draws the program's pictures and writes
// FOLDER/LNTR.PIS, FOLDER/LNTR.PCS and the banners in FOLDER/BANNERS. The icons are rendered from the
// Breeze icon theme (default /usr/share/icons/breeze). Exit code 0 on success, 1 when writing fails,
// 2 for bad usage.
#include "Catalogue.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
    // Pictures with text need fonts, hence a GUI application; no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = QGuiApplication::arguments();
    if (args.size() == 4 && args[2] == QLatin1String("--icons")) {
        lintaro::tools::SetIconThemeFolder(args[3]);
        args = args.mid(0, 2);
    }
    if (args.size() != 2 || args[1].startsWith(u'-')) {
        std::fprintf(stderr,
                     "usage: lintaro-picturegen FOLDER [--icons THEME_FOLDER] (writes FOLDER/LNTR.PIS, "
                     "FOLDER/LNTR.PCS and FOLDER/BANNERS)\n");
        return 2;
    }
    lintaro::tools::TPictureSources sources;
    lintaro::tools::AddPatternPictures(sources);
    lintaro::tools::AddWindowPictures(sources);
    int written = 0;
    int banners = 0;
    QString error;
    if (!lintaro::tools::WritePictureFiles(sources, args[1], &written, &error) ||
        !lintaro::tools::WriteBannerFiles(args[1], &banners, &error)) {
        std::fprintf(stderr, "lintaro-picturegen: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("%d pictures and %d banners written to %s\n", written, banners, qPrintable(args[1]));
    return 0;
}
