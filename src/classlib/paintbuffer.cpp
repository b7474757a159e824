#include "classlib/paintbuffer.h"

#include <memory>
#include <new>

namespace {
struct TSharedStorage {
    std::unique_ptr<uchar[]> Bytes;
    std::size_t Size = 0;
    bool InUse = false;
};

TSharedStorage& Shared() {
    static TSharedStorage storage;
    return storage;
}

// Grows the shared storage to `bytes`; false when the memory is not there.
bool Reserve(TSharedStorage& storage, std::size_t bytes) {
    if (bytes <= storage.Size) return true;
    storage.Bytes.reset(); // give the old block back before asking for the larger one
    storage.Size = 0;
    storage.Bytes.reset(new (std::nothrow) uchar[bytes]);
    if (!storage.Bytes) return false;
    storage.Size = bytes;
    return true;
}
} // namespace

TPaintBuffer::TPaintBuffer(QSize physical, qreal scale) {
    if (physical.isEmpty()) return;
    TSharedStorage& storage = Shared();
    if (storage.InUse) {
        FImage = QImage(physical, QImage::Format_RGB32);
    } else {
        const std::size_t stride = std::size_t(physical.width()) * 4;
        if (!Reserve(storage, stride * std::size_t(physical.height()))) return;
        FImage = QImage(storage.Bytes.get(), physical.width(), physical.height(),
                        static_cast<qsizetype>(stride), QImage::Format_RGB32);
        storage.InUse = FBorrowed = true;
    }
    if (!FImage.isNull()) FImage.setDevicePixelRatio(scale);
}

TPaintBuffer::~TPaintBuffer() {
    FImage = QImage(); // no image may point into the shared storage once it is given back
    if (FBorrowed) Shared().InUse = false;
}

std::size_t TPaintBuffer::SharedBytes() { return Shared().Size; }
