#include "app/graphics/system_screen.h"

#include <QGuiApplication>
#include <QScreen>

namespace app {

namespace {

constexpr HDC kScreenDc = 1;

std::optional<int>& DepthOverride() {
    static std::optional<int> depth;
    return depth;
}

int RealScreenDepth() {
    // Without a GUI application there is no screen to ask; assume true colour.
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return 24;
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->depth() : 24;
}

}  // namespace

HDC GetDC(HWND) { return kScreenDc; }

int ReleaseDC(HWND, HDC dc) { return dc == kScreenDc ? 1 : 0; }

int GetDeviceCaps(HDC dc, int index) {
    if (dc != kScreenDc) return 0;
    if (index == kBitsPixelIndex) return DepthOverride().value_or(RealScreenDepth());
    if (index == kPlanesIndex) return 1;
    return 0;
}

void OverrideScreenDepth(std::optional<int> bitsPerPixel) { DepthOverride() = bitsPerPixel; }

}  // namespace app
