#include "libjpegdecode.h"

#include <csetjmp>
#include <cstdio>
#include <fstream>
#include <iterator>

#include <jpeglib.h>

namespace {
struct TJumpingErrors {
    jpeg_error_mgr Base; // first: libjpeg hands back a pointer to it
    std::jmp_buf Jump;
};

[[noreturn]] void JumpOut(j_common_ptr info) {
    (*info->err->output_message)(info);
    std::longjmp(reinterpret_cast<TJumpingErrors*>(info->err)->Jump, 1);
}
} // namespace

bool DecodeJpegBgra(const uint8_t* data, size_t size, TPlainJpeg& image) {
    jpeg_decompress_struct info{};
    TJumpingErrors errors{};
    info.err = jpeg_std_error(&errors.Base);
    errors.Base.error_exit = JumpOut;
    if (setjmp(errors.Jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGRA;
    jpeg_start_decompress(&info);
    image.Width = static_cast<int>(info.output_width);
    image.Height = static_cast<int>(info.output_height);
    const size_t stride = static_cast<size_t>(image.Width) * 4;
    image.Pixels.resize(stride * static_cast<size_t>(image.Height));
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.Pixels.data() + stride * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return {};
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}
