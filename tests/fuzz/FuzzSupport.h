#pragma once
// Shared set-up of the fuzz targets: a GUI application on the offscreen platform (the drawing needs
// fonts), the shipped data files, and a scratch file for readers that take only a file name.
#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace lintaro::fuzz {

// Once per process: the application, the start-up values with the shipped data, the settings.
void Init();
// The bytes written to a scratch file (in memory where the system allows); its name.
QString ScratchFile(const uint8_t* data, size_t size, const char* suffix = "");
// The input as text, as the program decodes its files.
QString Text(const uint8_t* data, size_t size);

} // namespace lintaro::fuzz
