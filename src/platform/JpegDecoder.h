#pragma once
// JPEG decoding through libjpeg, for the logo and banner pictures.
#include <QByteArray>
#include <QImage>

namespace lintaro {

// Whether the bytes start as a JPEG file does.
bool LooksLikeJpeg(const QByteArray& bytes);
// The decoded picture, or a null image when the data is damaged, truncated, of a colour space that
// cannot be shown, or declares a size beyond the picture limits. Corrupt-data warnings of the
// decoder count as failures, so a damaged file never yields a partly grey picture.
QImage DecodeJpeg(const QByteArray& bytes);

} // namespace lintaro
