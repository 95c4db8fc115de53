// The JPEG loader: pictures this test encodes with libjpeg come back with their colours; damaged,
// foreign and oversized data fail with libjpeg's reason and a null image, never ending the
// program; the program's own picture is found among the resources.
#include <QByteArray>
#include <QColor>
#include <QImage>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <jpeglib.h>

#include "platform/Jpeg.h"

using oxw::platform::DecodeJpeg;
using oxw::platform::LoadJpeg;

namespace {

// Four flat 16 x 16 quarters: red, green, blue, white (grey pictures: 40, 100, 160, 220).
QColor Quarter(int x, int y, bool grey)
{
    static const QColor colours[] = {QColor(255, 0, 0), QColor(0, 255, 0), QColor(0, 0, 255), QColor(255, 255, 255)};
    const int q = (y >= 16 ? 2 : 0) + (x >= 16 ? 1 : 0);
    return grey ? QColor(40 + 60 * q, 40 + 60 * q, 40 + 60 * q) : colours[q];
}

QByteArray Encode(bool grey, bool progressive)
{
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = cinfo.image_height = 32;
    cinfo.input_components = grey ? 1 : 3;
    cinfo.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 100, TRUE);
    if (progressive) jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<unsigned char> row;
    while (cinfo.next_scanline < cinfo.image_height) {
        row.clear();
        for (int x = 0; x < 32; ++x) {
            const QColor c = Quarter(x, static_cast<int>(cinfo.next_scanline), grey);
            for (int v : grey ? std::vector<int>{c.red()} : std::vector<int>{c.red(), c.green(), c.blue()})
                row.push_back(static_cast<unsigned char>(v));
        }
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&cinfo, &p, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    QByteArray data(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(size));
    std::free(buffer);
    return data;
}

// Every channel within 6 of the expected colour, a few pixels away from the quarters' edges (the
// compression blurs them a little).
void ExpectQuarters(const QImage& image, bool grey)
{
    ASSERT_EQ(image.size(), QSize(32, 32));
    for (int y : {3, 12, 20, 29})
        for (int x : {3, 12, 20, 29}) {
            const QColor got = image.pixelColor(x, y), want = Quarter(x, y, grey);
            EXPECT_TRUE(std::abs(got.red() - want.red()) <= 6 && std::abs(got.green() - want.green()) <= 6 &&
                        std::abs(got.blue() - want.blue()) <= 6) << x << "," << y;
        }
}

TEST(Jpeg, EncodedPicturesComeBack)
{
    for (bool grey : {false, true})
        for (bool progressive : {false, true}) {
            SCOPED_TRACE(testing::Message() << "grey " << grey << " progressive " << progressive);
            QString error = "untouched";
            ExpectQuarters(DecodeJpeg(Encode(grey, progressive), &error), grey);
            EXPECT_EQ(error, "untouched");
        }
}

// The byte offset of the first marker FF <code>, or -1.
qsizetype Marker(const QByteArray& data, unsigned char code)
{
    for (qsizetype i = 0; i + 1 < data.size(); ++i)
        if (static_cast<unsigned char>(data[i]) == 0xFF && static_cast<unsigned char>(data[i + 1]) == code) return i;
    return -1;
}

TEST(Jpeg, DamagedOrForeignDataFailsCleanly)
{
    const QByteArray good = Encode(false, false);
    const qsizetype sof = Marker(good, 0xC0);
    const qsizetype sos = Marker(good, 0xDA);
    ASSERT_GT(sof, 0);
    ASSERT_GT(sos, sof);
    // Frame headers that claim 60000 x 60000 pixels, and one row more than the 2^26 pixels allowed.
    auto claiming = [&](int width, int height) {
        QByteArray data = good;
        for (auto [at, v] : {std::pair{sof + 5, height}, {sof + 7, width}}) {
            data[at] = static_cast<char>(v >> 8);
            data[at + 1] = static_cast<char>(v & 0xFF);
        }
        return data;
    };
    QByteArray twelveBit = good;  // a sample precision this library does not decode
    twelveBit[sof + 4] = 12;
    // libjpeg's reason, or the start of it.
    const struct { const char* what; QByteArray data; const char* reason; } cases[] = {
        {"empty", QByteArray(), "Empty input file"},
        {"text", QByteArray("not a picture"), "Not a JPEG file: starts with 0x6e 0x6f"},
        {"start of image only", good.left(2), "Premature end of JPEG file"},
        {"cut after the scan header", good.left(sos + 20), "Premature end of JPEG file"},
        {"cut in the middle", good.left(good.size() / 2), "Premature end of JPEG file"},
        {"too large", claiming(60000, 60000), "picture of 60000x60000 pixels is too large"},
        {"a row too many", claiming(8192, 8193), "picture of 8192x8193 pixels is too large"},
        {"12-bit samples", twelveBit, "Unsupported JPEG data precision 12"},
    };
    for (const auto& c : cases) {
        QString error;
        const QImage image = DecodeJpeg(c.data, &error);
        EXPECT_TRUE(image.isNull()) << c.what;
        EXPECT_TRUE(error.startsWith(QString::fromLatin1(c.reason))) << c.what << ": " << error.toStdString();
    }
    // The loader is still usable after every failure.
    ExpectQuarters(DecodeJpeg(good), false);
}

TEST(Jpeg, FilesAndTheProgramsOwnPicture)
{
    QString error;
    EXPECT_TRUE(LoadJpeg(QStringLiteral("/nonexistent/picture.jpg"), &error).isNull());
    EXPECT_TRUE(error.startsWith("Picture \"/nonexistent/picture.jpg\": ")) << error.toStdString();
    EXPECT_EQ(LoadJpeg(QStringLiteral(":/forms/ProcessingOverview.jpg"), &error).size(), QSize(480, 150));
}

}  // namespace
