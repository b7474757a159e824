#include "classlib/jpegdecoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace {

using TBytes = std::vector<uint8_t>;

struct TRgb {
    uint8_t R, G, B;
};

// Four 16-pixel-wide blocks: block edges fall on the 16x16 chroma MCUs, so colours do not bleed
// into the block centres even with 4:2:0 subsampling.
const TRgb BlockColours[] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
constexpr int BlockSize = 16;
constexpr int BlockCount = 4;
constexpr int Tolerance = 10;

struct TEncodeRequest {
    int Width = 0;
    int Height = 0;
    int Components = 3;
    J_COLOR_SPACE InSpace = JCS_RGB;
    TBytes Samples;
    bool Progressive = false;
    std::vector<jpeg_scan_info> Scans; // custom progressive script when not empty
};

TBytes Encode(const TEncodeRequest& request) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(request.Width);
    info.image_height = JDIMENSION(request.Height);
    info.input_components = request.Components;
    info.in_color_space = request.InSpace;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    if (request.Progressive) jpeg_simple_progression(&info);
    if (!request.Scans.empty()) {
        info.scan_info = request.Scans.data();
        info.num_scans = int(request.Scans.size());
    }
    jpeg_start_compress(&info, TRUE);
    const size_t stride = size_t(request.Width) * size_t(request.Components);
    while (info.next_scanline < info.image_height) {
        auto row = const_cast<JSAMPROW>(request.Samples.data() + info.next_scanline * stride);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    TBytes result(buffer, buffer + size);
    std::free(buffer);
    return result;
}

TEncodeRequest ColourBlocks() {
    TEncodeRequest request;
    request.Width = BlockSize * BlockCount;
    request.Height = BlockSize;
    for (int y = 0; y < request.Height; ++y)
        for (int x = 0; x < request.Width; ++x) {
            const TRgb& colour = BlockColours[x / BlockSize];
            request.Samples.insert(request.Samples.end(), {colour.R, colour.G, colour.B});
        }
    return request;
}

TEncodeRequest GrayBlocks() {
    TEncodeRequest request;
    request.Width = BlockSize * 3;
    request.Height = BlockSize;
    request.Components = 1;
    request.InSpace = JCS_GRAYSCALE;
    const uint8_t levels[] = {0x20, 0x80, 0xE0};
    for (int y = 0; y < request.Height; ++y)
        for (int x = 0; x < request.Width; ++x)
            request.Samples.push_back(levels[x / BlockSize]);
    return request;
}

TEncodeRequest CmykPicture() {
    TEncodeRequest request;
    request.Width = request.Height = 16;
    request.Components = 4;
    request.InSpace = JCS_CMYK;
    request.Samples.assign(16 * 16 * 4, 0x40);
    return request;
}

// A grayscale progressive script with exactly scanCount scans (at most 694): one DC scan, then
// every AC coefficient in its own band, sent first at Al=10 and refined bit by bit.
std::vector<jpeg_scan_info> ManyScans(int scanCount) {
    std::vector<jpeg_scan_info> scans;
    scans.push_back({1, {0}, 0, 0, 0, 0});
    for (int band = 1; band <= 63; ++band)
        for (int al = 10; al >= 0; --al) {
            if (int(scans.size()) == scanCount) return scans;
            const int ah = al == 10 ? 0 : al + 1;
            scans.push_back({1, {0}, band, band, ah, al});
        }
    return scans;
}

TBytes WithScans(int scanCount) {
    TEncodeRequest request;
    request.Width = request.Height = 16;
    request.Components = 1;
    request.InSpace = JCS_GRAYSCALE;
    request.Samples.assign(16 * 16, 0x99);
    request.Scans = ManyScans(scanCount);
    return Encode(request);
}

// Rewrites the frame header (SOF0..SOF2) to claim another size; the scan data stays small.
TBytes WithClaimedSize(TBytes jpeg, int width, int height) {
    for (size_t i = 2; i + 9 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] >= 0xC0 && jpeg[i + 1] <= 0xC2) {
            jpeg[i + 5] = uint8_t(height >> 8);
            jpeg[i + 6] = uint8_t(height);
            jpeg[i + 7] = uint8_t(width >> 8);
            jpeg[i + 8] = uint8_t(width);
            return jpeg;
        }
    ADD_FAILURE() << "no frame header found";
    return jpeg;
}

TBytes Prefix(const TBytes& bytes, size_t length) {
    return TBytes(bytes.begin(), bytes.begin() + std::ptrdiff_t(length));
}

// Cuts halfway between the first scan header and the end, so the frame header stays intact.
TBytes CutInsideScans(const TBytes& jpeg) {
    for (size_t i = 2; i + 1 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xDA) return Prefix(jpeg, i + (jpeg.size() - i) / 2);
    ADD_FAILURE() << "no scan header found";
    return jpeg;
}

TBytes Garbage() {
    std::mt19937 random(1234);
    TBytes bytes(4096);
    for (uint8_t& byte : bytes)
        byte = uint8_t(random());
    bytes[0] = 0x00; // a random 0xFF 0xD8 start would make it a different case
    return bytes;
}

std::filesystem::path SourceDir() {
#ifdef SETTINGS_SOURCE_DIR
    return SETTINGS_SOURCE_DIR;
#else
    return std::filesystem::path(__FILE__).parent_path().parent_path().parent_path();
#endif
}

TBytes ReadFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return TBytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

const uint8_t* PixelAt(const TDecodedImage& image, int x, int y) {
    return image.Pixels.data() + (size_t(y) * size_t(image.Width) + size_t(x)) * 4;
}

bool AllFillerBytesOpaque(const TDecodedImage& image) {
    for (size_t i = 3; i < image.Pixels.size(); i += 4)
        if (image.Pixels[i] != 0xFF) return false;
    return true;
}

TDecodedImage DecodeOrFail(const TBytes& jpeg) {
    TDecodedImage image;
    std::string error;
    EXPECT_TRUE(TJPEGDecoder::Decode(jpeg.data(), jpeg.size(), image, error)) << error;
    EXPECT_EQ(error, "");
    return image;
}

void ExpectBlocks(const TDecodedImage& image) {
    ASSERT_EQ(image.Width, BlockSize * BlockCount);
    ASSERT_EQ(image.Height, BlockSize);
    ASSERT_EQ(image.Pixels.size(), size_t(image.Width) * size_t(image.Height) * 4);
    for (int block = 0; block < BlockCount; ++block) {
        SCOPED_TRACE("block " + std::to_string(block));
        const uint8_t* pixel = PixelAt(image, block * BlockSize + BlockSize / 2, BlockSize / 2);
        const TRgb& expected = BlockColours[block];
        EXPECT_NEAR(pixel[0], expected.B, Tolerance);
        EXPECT_NEAR(pixel[1], expected.G, Tolerance);
        EXPECT_NEAR(pixel[2], expected.R, Tolerance);
    }
    EXPECT_TRUE(AllFillerBytesOpaque(image));
}

TEST(JPEGDecoderTest, BaselineColourDecodesToBgrxOrder) {
    ExpectBlocks(DecodeOrFail(Encode(ColourBlocks())));
}

TEST(JPEGDecoderTest, ProgressiveColourDecodesLikeBaseline) {
    TEncodeRequest request = ColourBlocks();
    request.Progressive = true;
    ExpectBlocks(DecodeOrFail(Encode(request)));
}

TEST(JPEGDecoderTest, GrayscaleIsSpreadOverBlueGreenRed) {
    const TDecodedImage image = DecodeOrFail(Encode(GrayBlocks()));
    ASSERT_EQ(image.Width, BlockSize * 3);
    const int levels[] = {0x20, 0x80, 0xE0};
    for (int block = 0; block < 3; ++block) {
        SCOPED_TRACE("block " + std::to_string(block));
        const uint8_t* pixel = PixelAt(image, block * BlockSize + BlockSize / 2, BlockSize / 2);
        EXPECT_NEAR(pixel[0], levels[block], Tolerance);
        EXPECT_EQ(pixel[0], pixel[1]);
        EXPECT_EQ(pixel[1], pixel[2]);
    }
    EXPECT_TRUE(AllFillerBytesOpaque(image));
}

TEST(JPEGDecoderTest, ScanLimitAllowsExactlyMaxScans) {
    const TDecodedImage image = DecodeOrFail(WithScans(TJPEGDecoder::MaxScans));
    EXPECT_EQ(image.Width, 16);
    EXPECT_NEAR(PixelAt(image, 8, 8)[0], 0x99, Tolerance);
}

TEST(JPEGDecoderTest, BoardPhotoDecodes) {
    const TBytes jpeg = ReadFile(SourceDir() / "assets" / "board.jpg");
    ASSERT_FALSE(jpeg.empty()) << "cannot read " << (SourceDir() / "assets" / "board.jpg");

    int width = 0, height = 0;
    std::string error;
    EXPECT_TRUE(TJPEGDecoder::ReadSize(jpeg.data(), jpeg.size(), width, height, error)) << error;
    EXPECT_EQ(width, 600);
    EXPECT_EQ(height, 425);

    const TDecodedImage image = DecodeOrFail(jpeg);
    ASSERT_EQ(image.Width, 600);
    ASSERT_EQ(image.Height, 425);
    // Photographed on white: the top right corner is background.
    const uint8_t* corner = PixelAt(image, 597, 2);
    EXPECT_GT(std::min({corner[0], corner[1], corner[2]}), 200);
    EXPECT_TRUE(AllFillerBytesOpaque(image));
}

TEST(JPEGDecoderTest, HugeClaimedSizeIsRejectedBeforeAnyWork) {
    const TBytes jpeg = WithClaimedSize(Encode(ColourBlocks()), 60000, 60000);
    TDecodedImage image;
    std::string error;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(TJPEGDecoder::Decode(jpeg.data(), jpeg.size(), image, error));
    const auto elapsed = std::chrono::steady_clock::now() - start;
    // "too large" rather than an out-of-memory message shows no buffer was attempted.
    EXPECT_NE(error.find("too large: 60000 x 60000"), std::string::npos) << error;
    EXPECT_LT(elapsed, std::chrono::milliseconds(200));
    EXPECT_TRUE(image.Pixels.empty());
}

struct TBadInput {
    const char* Name;
    TBytes Bytes;
    const char* DecodeError; // expected part of Decode's message
    const char* HeaderError; // expected part of ReadSize's message; nullptr: header is fine
};

void PrintTo(const TBadInput& input, std::ostream* out) {
    *out << input.Name;
}

std::vector<TBadInput> BadInputs() {
    const TBytes baseline = Encode(ColourBlocks());
    TEncodeRequest progressiveRequest = ColourBlocks();
    progressiveRequest.Progressive = true;
    const TBytes progressive = Encode(progressiveRequest);
    const TBytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13};
    return {
        {"Empty", {}, "empty", "empty"},
        {"Garbage", Garbage(), "invalid JPEG data", "invalid JPEG data"},
        {"PngSignature", png, "invalid JPEG data", "invalid JPEG data"},
        {"StartMarkerOnly", {0xFF, 0xD8}, "truncated", "truncated"},
        {"TruncatedHeader", Prefix(baseline, 40), "truncated", "truncated"},
        {"TruncatedScanData", CutInsideScans(baseline), "truncated", nullptr},
        {"TruncatedProgressive", CutInsideScans(progressive), "truncated", nullptr},
        {"MissingEndMarker", Prefix(baseline, baseline.size() - 2), "truncated", nullptr},
        {"ZeroWidth", WithClaimedSize(baseline, 0, 16), "invalid JPEG data", "invalid JPEG data"},
        {"SideOverLimit", WithClaimedSize(baseline, TJPEGDecoder::MaxDimension + 1, 1), "too large",
         "too large"},
        {"PixelCountOverLimit",
         WithClaimedSize(baseline, TJPEGDecoder::MaxDimension, TJPEGDecoder::MaxDimension),
         "too large", "too large"},
        {"CmykPicture", Encode(CmykPicture()), "CMYK", nullptr},
        {"OneScanTooMany", WithScans(TJPEGDecoder::MaxScans + 1), "too many progressive scans",
         nullptr},
    };
}

class JPEGDecoderBadInputTest : public testing::TestWithParam<TBadInput> {};

TEST_P(JPEGDecoderBadInputTest, DecodeFailsWithMessageAndEmptyImage) {
    const TBadInput& input = GetParam();
    TDecodedImage image{2, 2, TBytes(16, 0xAB)}; // leftovers from an earlier call must go
    std::string error;
    EXPECT_FALSE(TJPEGDecoder::Decode(input.Bytes.data(), input.Bytes.size(), image, error));
    EXPECT_NE(error.find(input.DecodeError), std::string::npos) << error;
    EXPECT_EQ(image.Width, 0);
    EXPECT_EQ(image.Height, 0);
    EXPECT_TRUE(image.Pixels.empty());
}

TEST_P(JPEGDecoderBadInputTest, ReadSizeJudgesOnlyTheHeader) {
    const TBadInput& input = GetParam();
    int width = -1, height = -1;
    std::string error;
    const bool ok =
        TJPEGDecoder::ReadSize(input.Bytes.data(), input.Bytes.size(), width, height, error);
    if (input.HeaderError == nullptr) {
        EXPECT_TRUE(ok) << error;
        EXPECT_GT(width, 0);
        EXPECT_GT(height, 0);
        return;
    }
    EXPECT_FALSE(ok);
    EXPECT_NE(error.find(input.HeaderError), std::string::npos) << error;
    EXPECT_EQ(width, 0);
    EXPECT_EQ(height, 0);
}

INSTANTIATE_TEST_SUITE_P(Table, JPEGDecoderBadInputTest, testing::ValuesIn(BadInputs()),
                         [](const testing::TestParamInfo<TBadInput>& caseInfo) {
                             return std::string(caseInfo.param.Name);
                         });

TEST(JPEGDecoderTest, NullDataIsRejectedWhateverTheSize) {
    TDecodedImage image;
    std::string error;
    EXPECT_FALSE(TJPEGDecoder::Decode(nullptr, 100, image, error));
    EXPECT_NE(error.find("empty"), std::string::npos) << error;
}

} // namespace
