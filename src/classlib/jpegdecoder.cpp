#include "classlib/jpegdecoder.h"

#include <csetjmp>
#include <cstdio> // jpeglib.h uses FILE without including it
#include <new>

#include <jpeglib.h>

#include <jerror.h> // uses the types jpeglib.h declares

namespace {

static_assert(sizeof(unsigned long) >= sizeof(size_t),
              "jpeg_mem_src takes the size as unsigned long");

// libjpeg's default error_exit calls exit(); ours jumps back to the guarded call instead. The
// message is copied out before the jump because the decompressor is torn down right after.
struct TErrorManager {
    jpeg_error_mgr Base; // must stay first: libjpeg hands us a pointer to it
    std::jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX];
};

TErrorManager& ErrorManagerOf(j_common_ptr info) {
    return *reinterpret_cast<TErrorManager*>(info->err);
}

// Only plain C data may be alive here: longjmp skips destructors.
[[noreturn]] void FailWith(j_common_ptr info, const char* prefix, const char* message) {
    TErrorManager& manager = ErrorManagerOf(info);
    std::snprintf(manager.Message, sizeof(manager.Message), "%s%s", prefix, message);
    std::longjmp(manager.Jump, 1);
}

[[noreturn]] void OnErrorExit(j_common_ptr info) {
    char text[JMSG_LENGTH_MAX];
    info->err->format_message(info, text);
    FailWith(info, "invalid JPEG data: ", text);
}

// Damaged compressed data is only a warning to libjpeg, which then decodes on from the next
// marker and hands back a picture with grey or scrambled parts. A photograph that shows the
// card wrongly is worse than none.
bool DamagesPixels(int messageCode) {
    switch (messageCode) {
    case JWRN_EXTRANEOUS_DATA:
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_ARITH_BAD_CODE:
    case JWRN_MUST_RESYNC:
        return true;
    default:
        return false;
    }
}

// The memory source reports running out of data as a warning and feeds libjpeg a fake end
// marker, which would hand back a picture whose lower part is grey. Callers want to know.
void OnEmitMessage(j_common_ptr info, int level) {
    if (level >= 0) return; // trace messages
    info->err->num_warnings++;
    if (info->err->msg_code == JWRN_JPEG_EOF) FailWith(info, "", "truncated JPEG data");
    if (DamagesPixels(info->err->msg_code)) {
        char text[JMSG_LENGTH_MAX];
        info->err->format_message(info, text);
        FailWith(info, "invalid JPEG data: ", text);
    }
}

void OnOutputMessage(j_common_ptr) {}

void OnProgress(j_common_ptr info) {
    if (!info->is_decompressor) return;
    const auto* decompressor = reinterpret_cast<j_decompress_ptr>(info);
    const long long scans = decompressor->input_scan_number;
    char text[JMSG_LENGTH_MAX];
    if (scans > TJPEGDecoder::MaxScans) {
        std::snprintf(text, sizeof(text), "more than %d scans", TJPEGDecoder::MaxScans);
        FailWith(info, "JPEG data has too many progressive scans: ", text);
    }
    const long long pixels =
        static_cast<long long>(decompressor->image_width) * decompressor->image_height;
    if (scans * pixels > TJPEGDecoder::MaxScanPixels) {
        std::snprintf(text, sizeof(text), "%lld scans over %u x %u pixels", scans,
                      decompressor->image_width, decompressor->image_height);
        FailWith(info, "JPEG data needs too much decoding work: ", text);
    }
}

std::string SizeProblem(long long width, long long height) {
    if (width <= 0 || height <= 0) return "JPEG image has zero width or height";
    if (width <= TJPEGDecoder::MaxDimension && height <= TJPEGDecoder::MaxDimension &&
        width * height <= TJPEGDecoder::MaxPixels)
        return {};
    return "JPEG image is too large: " + std::to_string(width) + " x " + std::to_string(height) +
           " pixels (limits: " + std::to_string(TJPEGDecoder::MaxDimension) + " per side, " +
           std::to_string(TJPEGDecoder::MaxPixels) + " in all)";
}

std::string ColourProblem(J_COLOR_SPACE space) {
    switch (space) {
    case JCS_GRAYSCALE:
    case JCS_RGB:
    case JCS_YCbCr:
        return {};
    case JCS_CMYK:
    case JCS_YCCK:
        return "CMYK JPEG images are not supported";
    default:
        return "JPEG image has an unsupported colour layout";
    }
}

// One decompressor and its callbacks. Every libjpeg call goes through Run(), which owns the
// setjmp; nothing with a destructor lives between that setjmp and libjpeg's longjmp.
class TSession {
  public:
    TSession() {
        Info.err = jpeg_std_error(&Errors.Base);
        Errors.Base.error_exit = OnErrorExit;
        Errors.Base.emit_message = OnEmitMessage;
        Errors.Base.output_message = OnOutputMessage;
        Errors.Message[0] = '\0';
        Progress.progress_monitor = OnProgress;
    }
    // Safe at any stage: jpeg_destroy_decompress ignores a struct whose memory manager is unset.
    ~TSession() { jpeg_destroy_decompress(&Info); }
    TSession(const TSession&) = delete;
    TSession& operator=(const TSession&) = delete;

    std::string Message() const { return Errors.Message; }
    int Width() const { return static_cast<int>(Info.image_width); }
    int Height() const { return static_cast<int>(Info.image_height); }

    bool ReadHeader(const uint8_t* data, size_t size) {
        return Run([this, data, size] {
            jpeg_create_decompress(&Info);
            Info.progress = &Progress; // set after create, which clears the struct
            jpeg_mem_src(&Info, data, static_cast<unsigned long>(size));
            jpeg_read_header(&Info, TRUE);
        });
    }

    std::string Unsupported() const {
        std::string problem = SizeProblem(Info.image_width, Info.image_height);
        return problem.empty() ? ColourProblem(Info.jpeg_color_space) : problem;
    }

    // BGRA rather than BGRX: libjpeg-turbo leaves the X byte undefined, BGRA guarantees 0xFF
    // there while keeping the same memory layout.
    bool Start() {
        return Run([this] {
            Info.out_color_space = JCS_EXT_BGRA;
            jpeg_start_decompress(&Info);
        });
    }

    bool OutputMatchesHeader() const {
        return Info.output_width == Info.image_width && Info.output_height == Info.image_height &&
               Info.output_components == 4;
    }

    bool ReadRows(uint8_t* pixels, size_t stride) {
        return Run([this, pixels, stride] {
            while (Info.output_scanline < Info.output_height) {
                JSAMPROW row = pixels + size_t(Info.output_scanline) * stride;
                jpeg_read_scanlines(&Info, &row, 1);
            }
            jpeg_finish_decompress(&Info);
        });
    }

  private:
    template <class TStep> bool Run(const TStep& step) {
        if (setjmp(Errors.Jump) != 0) return false;
        step();
        return true;
    }

    jpeg_decompress_struct Info{};
    TErrorManager Errors{};
    jpeg_progress_mgr Progress{};
};

bool HasData(const uint8_t* data, size_t size, std::string& error) {
    if (data != nullptr && size != 0) return true;
    error = "no JPEG data (empty input)";
    return false;
}

bool Allocate(std::vector<uint8_t>& pixels, size_t bytes, std::string& error) {
    try {
        pixels.resize(bytes);
        return true;
    } catch (const std::bad_alloc&) {
        error = "not enough memory to decode the JPEG image";
        return false;
    }
}

} // namespace

bool TJPEGDecoder::ReadSize(const uint8_t* data, size_t size, int& width, int& height,
                            std::string& error) {
    width = height = 0;
    error.clear();
    if (!HasData(data, size, error)) return false;
    TSession session;
    if (!session.ReadHeader(data, size)) {
        error = session.Message();
        return false;
    }
    error = SizeProblem(session.Width(), session.Height());
    if (!error.empty()) return false;
    width = session.Width();
    height = session.Height();
    return true;
}

bool TJPEGDecoder::Decode(const uint8_t* data, size_t size, TDecodedImage& image,
                          std::string& error) {
    image = TDecodedImage{};
    error.clear();
    if (!HasData(data, size, error)) return false;
    TSession session;
    if (!session.ReadHeader(data, size)) {
        error = session.Message();
        return false;
    }
    error = session.Unsupported();
    if (!error.empty()) return false;
    if (!session.Start()) {
        error = session.Message();
        return false;
    }
    if (!session.OutputMatchesHeader()) {
        error = "JPEG decoder produced an unexpected output format";
        return false;
    }
    const size_t stride = size_t(session.Width()) * 4;
    std::vector<uint8_t> pixels;
    if (!Allocate(pixels, stride * size_t(session.Height()), error)) return false;
    if (!session.ReadRows(pixels.data(), stride)) {
        error = session.Message();
        return false;
    }
    image.Width = session.Width();
    image.Height = session.Height();
    image.Pixels = std::move(pixels);
    return true;
}
