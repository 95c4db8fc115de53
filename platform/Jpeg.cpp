#include "platform/Jpeg.h"

#include <QFile>

#include <csetjmp>
#include <cstdio>
#include <cstring>

// libjpeg's header needs size_t and FILE declared before it.
#include <jpeglib.h>

namespace oxw::platform {

namespace {

// libjpeg's default error handler prints and calls exit(); ours keeps the message and jumps
// back to the decoder, which then releases libjpeg's memory and reports the failure.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void ErrorExit(j_common_ptr cinfo)
{
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

// Level -1 is a warning about corrupt data (libjpeg would go on with made-up pixels): a failure
// for us. Trace messages (levels 0 and above) are dropped.
void EmitMessage(j_common_ptr cinfo, int level)
{
    if (level < 0) ErrorExit(cinfo);
}

// Everything the decoder changes lives here, outside the function that calls setjmp, so nothing
// it holds is left undefined by the jump back.
struct Decoder {
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    QImage image;
};

bool Decode(Decoder& d, const unsigned char* data, unsigned long size)
{
    d.cinfo.err = jpeg_std_error(&d.err.pub);
    d.err.pub.error_exit = ErrorExit;
    d.err.pub.emit_message = EmitMessage;
    d.err.message[0] = '\0';
    if (setjmp(d.err.jump)) {
        jpeg_destroy_decompress(&d.cinfo);
        return false;
    }
    jpeg_create_decompress(&d.cinfo);
    jpeg_mem_src(&d.cinfo, data, size);
    jpeg_read_header(&d.cinfo, TRUE);
    const long long pixels = static_cast<long long>(d.cinfo.image_width) * d.cinfo.image_height;
    if (pixels > kMaxJpegPixels) {
        std::snprintf(d.err.message, sizeof d.err.message, "picture of %ux%u pixels is too large",
                      d.cinfo.image_width, d.cinfo.image_height);
        jpeg_destroy_decompress(&d.cinfo);
        return false;
    }
    d.cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&d.cinfo);
    d.image = QImage(static_cast<int>(d.cinfo.output_width), static_cast<int>(d.cinfo.output_height),
                     QImage::Format_RGB888);
    if (d.image.isNull()) {
        std::snprintf(d.err.message, sizeof d.err.message, "not enough memory for the picture");
        jpeg_destroy_decompress(&d.cinfo);
        return false;
    }
    while (d.cinfo.output_scanline < d.cinfo.output_height) {
        JSAMPROW row = d.image.scanLine(static_cast<int>(d.cinfo.output_scanline));
        jpeg_read_scanlines(&d.cinfo, &row, 1);
    }
    jpeg_finish_decompress(&d.cinfo);
    jpeg_destroy_decompress(&d.cinfo);
    return true;
}

}  // namespace

QImage DecodeJpeg(const QByteArray& data, QString* error)
{
    Decoder d;
    const bool ok = Decode(d, reinterpret_cast<const unsigned char*>(data.constData()),
                           static_cast<unsigned long>(data.size()));
    if (ok) return d.image;
    if (error) *error = QString::fromLocal8Bit(d.err.message);
    return QImage();
}

QImage LoadJpeg(const QString& fileName, QString* error)
{
    QFile file(fileName);
    QString reason;
    QImage image;
    if (!file.open(QIODevice::ReadOnly)) {
        reason = file.errorString();
    } else {
        image = DecodeJpeg(file.readAll(), &reason);
    }
    if (image.isNull() && error) *error = QStringLiteral("Picture \"%1\": %2").arg(fileName, reason);
    return image;
}

}  // namespace oxw::platform
