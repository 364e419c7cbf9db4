#include "platform/JpegDecoder.h"

#include "platform/PictureLoader.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace lintaro {

namespace {

// libjpeg reports errors through a callback that must not return; it jumps back to the step that
// called the library. Each step below holds no object with a destructor between its setjmp and the
// library call, so the jump skips nothing that needs cleaning up.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void onError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void onMessage(j_common_ptr info, int level) {
    // Level -1 is a warning about corrupt data; the rest are traces. A damaged picture is refused.
    if (level < 0)
        std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

bool readHeader(jpeg_decompress_struct* info, ErrorManager* errors) {
    if (setjmp(errors->jump))
        return false;
    return jpeg_read_header(info, TRUE) == JPEG_HEADER_OK;
}

bool start(jpeg_decompress_struct* info, ErrorManager* errors) {
    if (setjmp(errors->jump))
        return false;
    info->out_color_space = JCS_RGB;
    return jpeg_start_decompress(info) == TRUE;
}

bool readLines(jpeg_decompress_struct* info, ErrorManager* errors, uchar* bits, qsizetype bytesPerLine) {
    if (setjmp(errors->jump))
        return false;
    while (info->output_scanline < info->output_height) {
        JSAMPROW row = bits + static_cast<qsizetype>(info->output_scanline) * bytesPerLine;
        if (jpeg_read_scanlines(info, &row, 1) != 1)
            return false;
    }
    return jpeg_finish_decompress(info) == TRUE;
}

} // namespace

bool LooksLikeJpeg(const QByteArray& bytes) {
    return bytes.size() >= 3 && static_cast<uchar>(bytes[0]) == 0xFF &&
           static_cast<uchar>(bytes[1]) == 0xD8 && static_cast<uchar>(bytes[2]) == 0xFF;
}

QImage DecodeJpeg(const QByteArray& bytes) {
    if (!LooksLikeJpeg(bytes))
        return {};
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = onError;
    errors.base.emit_message = onMessage;
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));

    QImage image;
    bool ok = readHeader(&info, &errors);
    if (ok) {
        const qint64 width = info.image_width;
        const qint64 height = info.image_height;
        ok = width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
             width * height <= kMaxPicturePixels;
    }
    ok = ok && start(&info, &errors) && info.output_components == 3;
    if (ok) {
        image = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                       QImage::Format_RGB888);
        ok = !image.isNull() && readLines(&info, &errors, image.bits(), image.bytesPerLine());
    }
    jpeg_destroy_decompress(&info);
    if (!ok)
        return {};
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace lintaro
