#include "base/jpeg_decode.h"

#include <QColorSpace>
#include <QFile>

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace JpegDecode {

namespace {

struct ErrorExit {
    jpeg_error_mgr manager;
    std::jmp_buf back;
};

[[noreturn]] void leave(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorExit*>(info->err)->back, 1);
}

// Warnings (a file cut short, extra bytes) leave the picture as far as it goes, grey below, as
// Qt's reader does; they are not printed.
void quiet(j_common_ptr) {}

// The smallest eighth among 1, 2, 4 and 8 whose output covers the size wanted.
void chooseScale(jpeg_decompress_struct& info, QSize atLeast) {
    info.scale_denom = 8;
    for (unsigned int eighths : {1u, 2u, 4u, 8u}) {
        info.scale_num = eighths;
        jpeg_calc_output_dimensions(&info);
        if (int(info.output_width) >= atLeast.width() && int(info.output_height) >= atLeast.height()) return;
    }
}

QColorSpace colorSpaceOf(jpeg_decompress_struct& info) {
    JOCTET* profile = nullptr;
    unsigned int length = 0;
    if (!jpeg_read_icc_profile(&info, &profile, &length)) return {};
    const QColorSpace space =
        QColorSpace::fromIccProfile(QByteArray(reinterpret_cast<const char*>(profile), int(length)));
    std::free(profile);
    return space;
}

// Decodes into *out; false when libjpeg gives up or the colours are not RGB or grey. Nothing
// with a destructor lives in this frame, as an error jumps back into it.
bool decode(jpeg_decompress_struct& info, ErrorExit& error, const QByteArray& bytes, QSize atLeast,
            QImage* out) {
    if (setjmp(error.back)) return false;
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()),
                 (unsigned long)bytes.size());
    jpeg_save_markers(&info, JPEG_APP0 + 2, 0xFFFF);
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) return false;
    const bool grey = info.jpeg_color_space == JCS_GRAYSCALE;
    if (!grey && info.jpeg_color_space != JCS_YCbCr && info.jpeg_color_space != JCS_RGB) return false;
    info.out_color_space = grey ? JCS_GRAYSCALE : JCS_EXT_BGRX;
    chooseScale(info, atLeast);
    *out = QImage(int(info.output_width), int(info.output_height),
                  grey ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
    if (out->isNull()) return false;
    if (const QColorSpace space = colorSpaceOf(info); space.isValid()) out->setColorSpace(space);
    jpeg_start_decompress(&info);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out->scanLine(int(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    return true;
}

} // namespace

std::optional<QImage> covering(const QString& path, QSize atLeast) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (bytes.size() < 4 || uchar(bytes[0]) != 0xFF || uchar(bytes[1]) != 0xD8) return std::nullopt;
    jpeg_decompress_struct info;
    ErrorExit error;
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = leave;
    error.manager.output_message = quiet;
    jpeg_create_decompress(&info);
    QImage image;
    const bool decoded = decode(info, error, bytes, atLeast, &image);
    jpeg_destroy_decompress(&info);
    if (!decoded) return std::nullopt;
    return image;
}

} // namespace JpegDecode
