#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/graphics/graphics_types.h"
#include "app/graphics/persistent.h"

namespace app {

class TCanvas;
class TGraphic;
class TStream;

enum class TProgressStage { Starting, Running, Ending };

using TNotifyEvent = std::function<void(TObject* sender)>;
// Stage, percent 0–100, whether to redraw now, the rectangle that changed and
// a message. A handler may raise EAbort to cancel the running operation.
using TProgressEvent = std::function<void(TObject* sender, TProgressStage stage, std::uint8_t percent, bool redrawNow,
                                          const TRect& rect, const std::string& message)>;

// A picture class as the picture container knows it: its name and how to
// make an instance (the constructor slot of the picture interface).
struct TGraphicClassInfo {
    const char* Name;
    std::unique_ptr<TGraphic> (*Create)();
};
using TGraphicClass = const TGraphicClassInfo*;

// The toolkit's abstract picture. The virtual operations are declared in the
// order of the picture interface's slots.
class TGraphic : public TInterfacedPersistent {
public:
    TGraphic() = default;
    ~TGraphic() override = default;

    // Marks the picture modified and notifies its owner.
    virtual void Changed(TObject* sender);
    // Draws the picture stretched into `rect`.
    virtual void RenderTo(TCanvas& canvas, const TRect& rect) = 0;
    // The general comparison: same class and the same stored data.
    virtual bool Equals(TGraphic* other);
    virtual bool IsBlank() const = 0;
    virtual std::int32_t PixelHeight() const = 0;
    virtual HPALETTE PaletteHandle();
    virtual bool GetTransparent() const;
    virtual std::int32_t PixelWidth() const = 0;
    // The picture's part of a stored layout; by default the picture stream.
    virtual void ReadStoredData(TStream& stream);
    virtual void ResizeHeight(std::int32_t height) = 0;
    // Hands the picture a palette; the picture owns it from then on.
    virtual void ReplacePalette(HPALETTE palette);
    virtual void SetTransparent(bool transparent);
    virtual void ResizeWidth(std::int32_t width) = 0;
    virtual void WriteStoredData(TStream& stream);
    virtual void LoadFromFile(const std::string& fileName);
    virtual void SaveToFile(const std::string& fileName);
    virtual void ReadPicture(TStream& stream) = 0;
    virtual void WritePicture(TStream& stream) = 0;
    virtual void ReadClipboard(std::uint16_t format, HGLOBAL data, HPALETTE palette) = 0;
    virtual void WriteClipboard(std::uint16_t& format, HGLOBAL& data, HPALETTE& palette) = 0;

    const char* ClassName() const override { return "TGraphic"; }

    // Sends a progress notification to the OnProgress handler, if any.
    void Progress(TObject* sender, TProgressStage stage, std::uint8_t percent, bool redrawNow, const TRect& rect,
                  const std::string& message);

    bool Modified = false;
    // Set when the picture's palette changed and should be realized again.
    bool PaletteModified = false;
    TNotifyEvent OnChange;
    TProgressEvent OnProgress;

private:
    bool transparent_ = false;
};

}  // namespace app
