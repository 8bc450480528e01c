#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "app/graphics/persistent.h"

namespace app {

enum class TSeekOrigin { Beginning, Current, End };

// A sequence of bytes with a position. Read and Write move what they can and
// return the count moved; ReadBuffer and WriteBuffer insist on the whole count.
class TStream : public TObject {
public:
    virtual std::int32_t Read(void* buffer, std::int32_t count) = 0;
    virtual std::int32_t Write(const void* buffer, std::int32_t count) = 0;
    virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;
    virtual void SetSize(std::int64_t size);

    std::int64_t Position();
    void SetPosition(std::int64_t position);
    std::int64_t Size();
    // Bytes between the position and the end; 0 when the position is past it.
    std::int64_t Remaining();

    // Raises EReadError when the stream has fewer than `count` bytes.
    void ReadBuffer(void* buffer, std::int32_t count);
    // Raises EWriteError when the stream takes fewer than `count` bytes.
    void WriteBuffer(const void* buffer, std::int32_t count);

    const char* ClassName() const override { return "TStream"; }
};

// A growable stream in memory.
class TMemoryStream : public TStream {
public:
    std::int32_t Read(void* buffer, std::int32_t count) override;
    std::int32_t Write(const void* buffer, std::int32_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    void SetSize(std::int64_t size) override;

    void Clear();
    unsigned char* Memory() { return bytes_.data(); }
    std::span<const unsigned char> Bytes() const { return bytes_; }

    const char* ClassName() const override { return "TMemoryStream"; }

private:
    std::vector<unsigned char> bytes_;
    std::int64_t position_ = 0;
};

// A stream over bytes that someone else owns and that outlive it; it takes no
// writes.
class TReadOnlyMemoryStream : public TStream {
public:
    explicit TReadOnlyMemoryStream(std::span<const unsigned char> bytes) : bytes_(bytes) {}

    std::int32_t Read(void* buffer, std::int32_t count) override;
    std::int32_t Write(const void* buffer, std::int32_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;

    const char* ClassName() const override { return "TReadOnlyMemoryStream"; }

private:
    std::span<const unsigned char> bytes_;
    std::int64_t position_ = 0;
};

}  // namespace app
