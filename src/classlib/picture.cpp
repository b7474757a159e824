#include "classlib/picture.h"

#include "classlib/bitmap.h"
#include "classlib/exceptions.h"
#include "classlib/jpegimage.h"

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::Changed() {
    if (OnChange) OnChange(this);
}

void TPicture::HookGraphic() {
    if (FGraphic) FGraphic->OnChange = [this](TObject*) { Changed(); };
}

void TPicture::SetGraphic(std::unique_ptr<TGraphic> graphic) {
    FGraphic = std::move(graphic);
    HookGraphic();
    Changed();
}

void TPicture::Assign(const TPicture& other) {
    if (&other == this) return;
    FGraphic.reset(other.FGraphic ? other.FGraphic->Clone() : nullptr);
    HookGraphic();
    Changed();
}

std::vector<uint8_t> TPicture::MakeStoredData(const std::string& className,
                                              const std::vector<uint8_t>& bytes) {
    std::vector<uint8_t> data;
    data.reserve(1 + className.size() + 4 + bytes.size());
    data.push_back(static_cast<uint8_t>(className.size()));
    for (char c : className) data.push_back(static_cast<uint8_t>(c));
    uint32_t n = static_cast<uint32_t>(bytes.size());
    for (int i = 0; i < 4; ++i) data.push_back(static_cast<uint8_t>(n >> (8 * i)));
    data.insert(data.end(), bytes.begin(), bytes.end());
    return data;
}

void TPicture::LoadFromStoredData(const std::vector<uint8_t>& data) {
    FGraphic.reset();
    if (data.empty()) {
        Changed();
        throw EInvalidGraphic("Picture data is empty");
    }
    size_t nameLength = data[0];
    if (1 + nameLength + 4 > data.size()) {
        Changed();
        throw EInvalidGraphic("Picture data is truncated");
    }
    std::string className(data.begin() + 1, data.begin() + 1 + static_cast<long>(nameLength));
    size_t pos = 1 + nameLength;
    uint32_t count = 0;
    for (int i = 0; i < 4; ++i) count |= static_cast<uint32_t>(data[pos + i]) << (8 * i);
    pos += 4;
    if (count > data.size() - pos) {
        Changed();
        throw EInvalidGraphic("Picture data is shorter than its stated length");
    }
    if (className != "TJPEGImage") {
        Changed();
        throw EInvalidGraphic("Unknown picture format '" + className + "'");
    }
    auto jpeg = std::make_unique<TJPEGImage>();
    try {
        jpeg->LoadFromBytes(data.data() + pos, count);
    } catch (...) {
        Changed();
        throw;
    }
    SetGraphic(std::move(jpeg));
}
