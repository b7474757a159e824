// A container for one graphic of any format, with a change notification.
#pragma once

#include "classlib/graphic.h"

#include <cstdint>
#include <memory>
#include <vector>

class TPicture : public TObject {
  public:
    TPicture();
    ~TPicture() override;
    DECLARE_CLASS_NAME(TPicture)

    TGraphic* Graphic() const { return FGraphic.get(); }
    void SetGraphic(std::unique_ptr<TGraphic> graphic);
    int Width() const { return FGraphic ? FGraphic->Width() : 0; }
    int Height() const { return FGraphic ? FGraphic->Height() : 0; }
    void Assign(const TPicture& other);
    // Stored form: the graphic class name as a length-prefixed byte string, a 32-bit
    // little-endian byte count, then the graphic's own data. Raises EInvalidGraphic on
    // anything it cannot read; the picture is then empty.
    void LoadFromStoredData(const std::vector<uint8_t>& data);
    static std::vector<uint8_t> MakeStoredData(const std::string& className,
                                               const std::vector<uint8_t>& bytes);

    TNotifyEvent OnChange;

  private:
    void Changed();
    void HookGraphic();
    std::unique_ptr<TGraphic> FGraphic;
};
