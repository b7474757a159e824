#include "jpegwriter.h"

#include <QImage>

#include <cstdio> // jpeglib.h uses FILE without including it
#include <cstdlib>

#include <jpeglib.h>

namespace {

void SetParameters(jpeg_compress_struct& info, const TJpegWriter::TOptions& options) {
    jpeg_set_defaults(&info);
    jpeg_set_colorspace(&info, JCS_YCbCr);
    jpeg_set_quality(&info, options.Quality, TRUE);
    info.comp_info[0].h_samp_factor = 2; // luminance at full resolution,
    info.comp_info[0].v_samp_factor = 2;
    for (int chroma = 1; chroma <= 2; ++chroma) { // colour at half resolution both ways
        info.comp_info[chroma].h_samp_factor = 1;
        info.comp_info[chroma].v_samp_factor = 1;
    }
    info.optimize_coding = TRUE;
    jpeg_simple_progression(&info);
    info.write_JFIF_header = TRUE;
    info.density_unit = 1; // dots per inch
    info.X_density = UINT16(options.DotsPerInch);
    info.Y_density = UINT16(options.DotsPerInch);
}

void WriteRows(jpeg_compress_struct& info, const QImage& rgb) {
    while (info.next_scanline < info.image_height) {
        auto row = const_cast<JSAMPROW>(rgb.constScanLine(int(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
}

} // namespace

std::vector<uint8_t> TJpegWriter::Encode(const QImage& image, const TOptions& options) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(rgb.width());
    info.image_height = JDIMENSION(rgb.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    SetParameters(info, options);
    jpeg_start_compress(&info, TRUE);
    if (!options.Exif.empty())
        jpeg_write_marker(&info, JPEG_APP0 + 1, options.Exif.data(), unsigned(options.Exif.size()));
    WriteRows(info, rgb);
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<uint8_t> result(buffer, buffer + size);
    std::free(buffer);
    return result;
}
