#include "app/graphics/stream.h"

#include <algorithm>
#include <cstring>

#include "app/graphics/graphics_exceptions.h"

namespace app {

namespace {

std::int64_t NewPosition(std::int64_t position, std::int64_t size, std::int64_t offset, TSeekOrigin origin) {
    switch (origin) {
        case TSeekOrigin::Beginning: return offset;
        case TSeekOrigin::Current: return position + offset;
        case TSeekOrigin::End: return size + offset;
    }
    return position;
}

std::int32_t CopyOut(std::span<const unsigned char> bytes, std::int64_t& position, void* buffer, std::int32_t count) {
    const auto size = static_cast<std::int64_t>(bytes.size());
    if (count <= 0 || position < 0 || position >= size) return 0;
    const auto moved = static_cast<std::int32_t>(std::min<std::int64_t>(count, size - position));
    std::memcpy(buffer, bytes.data() + position, static_cast<std::size_t>(moved));
    position += moved;
    return moved;
}

}  // namespace

void TStream::SetSize(std::int64_t) { throw EStreamError("This stream's size is fixed"); }

std::int64_t TStream::Position() { return Seek(0, TSeekOrigin::Current); }

void TStream::SetPosition(std::int64_t position) { Seek(position, TSeekOrigin::Beginning); }

std::int64_t TStream::Size() {
    const std::int64_t position = Seek(0, TSeekOrigin::Current);
    const std::int64_t size = Seek(0, TSeekOrigin::End);
    Seek(position, TSeekOrigin::Beginning);
    return size;
}

std::int64_t TStream::Remaining() { return std::max<std::int64_t>(0, Size() - Position()); }

void TStream::ReadBuffer(void* buffer, std::int32_t count) {
    if (count != 0 && Read(buffer, count) != count) throw EReadError();
}

void TStream::WriteBuffer(const void* buffer, std::int32_t count) {
    if (count != 0 && Write(buffer, count) != count) throw EWriteError();
}

std::int32_t TMemoryStream::Read(void* buffer, std::int32_t count) { return CopyOut(bytes_, position_, buffer, count); }

std::int32_t TMemoryStream::Write(const void* buffer, std::int32_t count) {
    if (count <= 0 || position_ < 0) return 0;
    const std::int64_t end = position_ + count;
    if (end > static_cast<std::int64_t>(bytes_.size())) bytes_.resize(static_cast<std::size_t>(end));
    std::memcpy(bytes_.data() + position_, buffer, static_cast<std::size_t>(count));
    position_ = end;
    return count;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin) {
    position_ = NewPosition(position_, static_cast<std::int64_t>(bytes_.size()), offset, origin);
    return position_;
}

void TMemoryStream::SetSize(std::int64_t size) {
    if (size < 0) throw EStreamError("A stream's size cannot be negative");
    bytes_.resize(static_cast<std::size_t>(size));
    position_ = std::min(position_, size);
}

void TMemoryStream::Clear() {
    bytes_.clear();
    bytes_.shrink_to_fit();
    position_ = 0;
}

std::int32_t TReadOnlyMemoryStream::Read(void* buffer, std::int32_t count) {
    return CopyOut(bytes_, position_, buffer, count);
}

std::int32_t TReadOnlyMemoryStream::Write(const void*, std::int32_t) { return 0; }

std::int64_t TReadOnlyMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin) {
    position_ = NewPosition(position_, static_cast<std::int64_t>(bytes_.size()), offset, origin);
    return position_;
}

}  // namespace app
