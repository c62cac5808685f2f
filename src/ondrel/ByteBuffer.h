#pragma once

// A block of bytes that is not cleared when allocated: members run to tens of megabytes, and
// every byte of a conversion's buffers is written before it is read.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace ondrel {

class ByteBuffer {
public:
    ByteBuffer() = default;
    explicit ByteBuffer(size_t size) : Bytes(new char[size]), Size(size) {}

    char* Data() { return Bytes.get(); }
    size_t Length() const { return Size; }
    std::string_view View() const { return {Bytes.get(), Size}; }

    // Keeps the first Count bytes (never grows).
    void Shrink(size_t count) { Size = count < Size ? count : Size; }

private:
    std::unique_ptr<char[]> Bytes;
    size_t Size = 0;
};

// Reads the whole file into Buffer with one allocation and no copy in between. False with
// Error set to "<path>: <reason>".
bool ReadWholeFile(const std::string& path, ByteBuffer& buffer, std::string& error);

} // namespace ondrel
