// SPDX-License-Identifier: GPL-3.0-or-later
#include "JpegImage.h"

#include <QFile>

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace {

// libjpeg's own error_exit ends the process; ours jumps back to the decoder
// with the message. Warnings about corrupt data count as errors too: a
// damaged picture is refused rather than shown half grey.
struct ErrorManager
{
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

extern "C" void onJpegError(j_common_ptr info)
{
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, manager->message);
    std::longjmp(manager->jump, 1);
}

extern "C" void onJpegMessage(j_common_ptr info, int level)
{
    if (level < 0)
        onJpegError(info);
}

// Only trivially destructible locals live in this frame, so the long jump out
// of libjpeg skips no destructor. The image is owned by the caller.
bool decode(jpeg_decompress_struct* info, ErrorManager* errors, const QByteArray* data,
            QImage* image)
{
    if (setjmp(errors->jump) != 0)
        return false;
    jpeg_mem_src(info, reinterpret_cast<const unsigned char*>(data->constData()),
                 static_cast<unsigned long>(data->size()));
    jpeg_read_header(info, TRUE);
    info->out_color_space = JCS_RGB;
    jpeg_start_decompress(info);
    *image = QImage(static_cast<int>(info->output_width), static_cast<int>(info->output_height),
                    QImage::Format_RGB888);
    if (image->isNull()) {
        std::snprintf(errors->message, sizeof errors->message, "picture too large");
        return false;
    }
    while (info->output_scanline < info->output_height) {
        JSAMPROW row = image->scanLine(static_cast<int>(info->output_scanline));
        jpeg_read_scanlines(info, &row, 1);
    }
    jpeg_finish_decompress(info);
    return true;
}

} // namespace

QImage DecodeJpeg(const QByteArray& data)
{
    if (data.isEmpty())
        throw JpegError(QStringLiteral("Cannot decode the picture: no data"));
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = onJpegError;
    errors.base.emit_message = onJpegMessage;
    jpeg_create_decompress(&info);
    QImage image;
    const bool decoded = decode(&info, &errors, &data, &image);
    jpeg_destroy_decompress(&info);
    if (!decoded)
        throw JpegError(QStringLiteral("Cannot decode the picture: %1")
                            .arg(QString::fromLocal8Bit(errors.message)));
    return image;
}

QImage LoadJpeg(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw JpegError(QStringLiteral("Cannot open the picture %1").arg(path));
    return DecodeJpeg(file.readAll());
}
