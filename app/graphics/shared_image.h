#pragma once

#include <cstdint>

namespace app {

// Image data shared by several pictures, counted by hand: Reference adds a
// holder, Release drops one and destroys the object when none is left.
// GUI thread only, so the count is a plain integer.
class TSharedImage {
public:
    TSharedImage() = default;
    TSharedImage(const TSharedImage&) = delete;
    TSharedImage& operator=(const TSharedImage&) = delete;

    void Reference() { ++refCount_; }
    void Release();
    std::int32_t RefCount() const { return refCount_; }

protected:
    virtual ~TSharedImage() = default;
    // Frees system resources of the image before it is destroyed.
    virtual void FreeHandle() = 0;

private:
    std::int32_t refCount_ = 0;
};

}  // namespace app
