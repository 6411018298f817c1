#pragma once
// Writes binary and compressed `.x` files for the reader's tests and fuzz seeds.
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

class XBinaryWriter {
public:
    explicit XBinaryWriter(bool doubles = false) : doubles_(doubles) {}

    XBinaryWriter& Token(uint16_t code) {
        Put16(code);
        return *this;
    }
    XBinaryWriter& Name(std::string_view s) {
        Put16(1);
        Put32(static_cast<uint32_t>(s.size()));
        bytes_.insert(bytes_.end(), s.begin(), s.end());
        return *this;
    }
    XBinaryWriter& String(std::string_view s) {
        Put16(2);
        Put32(static_cast<uint32_t>(s.size()));
        bytes_.insert(bytes_.end(), s.begin(), s.end());
        return Token(0x14);
    }
    XBinaryWriter& Ints(std::initializer_list<uint32_t> v) {
        return Ints(std::vector<uint32_t>(v));
    }
    XBinaryWriter& Ints(const std::vector<uint32_t>& v) {
        Put16(6);
        Put32(static_cast<uint32_t>(v.size()));
        for (uint32_t x : v) Put32(x);
        return *this;
    }
    XBinaryWriter& Floats(std::initializer_list<double> v) {
        Put16(7);
        Put32(static_cast<uint32_t>(v.size()));
        for (double x : v) {
            if (doubles_) {
                uint8_t b[8];
                std::memcpy(b, &x, 8);
                bytes_.insert(bytes_.end(), b, b + 8);
            } else {
                float f = static_cast<float>(x);
                uint8_t b[4];
                std::memcpy(b, &f, 4);
                bytes_.insert(bytes_.end(), b, b + 4);
            }
        }
        return *this;
    }
    XBinaryWriter& Open() { return Token(0x0a); }
    XBinaryWriter& Close() { return Token(0x0b); }
    XBinaryWriter& Raw(std::initializer_list<uint8_t> b) {
        bytes_.insert(bytes_.end(), b.begin(), b.end());
        return *this;
    }

    std::vector<uint8_t> File() const {
        std::string header = std::string("xof 0303bin ") + (doubles_ ? "0064" : "0032");
        std::vector<uint8_t> out(header.begin(), header.end());
        out.insert(out.end(), bytes_.begin(), bytes_.end());
        return out;
    }

private:
    void Put16(uint32_t v) {
        bytes_.push_back(static_cast<uint8_t>(v));
        bytes_.push_back(static_cast<uint8_t>(v >> 8));
    }
    void Put32(uint32_t v) {
        Put16(v & 0xFFFF);
        Put16(v >> 16);
    }

    bool doubles_;
    std::vector<uint8_t> bytes_;
};

// Compresses a text or binary file into its "tzip"/"bzip" form, `blockSize` bytes of the body
// per block, each block primed with the output before it.
inline std::vector<uint8_t> CompressXFile(const std::vector<uint8_t>& file, size_t blockSize) {
    std::vector<uint8_t> out(file.begin(), file.begin() + 16);
    std::memcpy(out.data() + 8, std::memcmp(file.data() + 8, "txt ", 4) == 0 ? "tzip" : "bzip", 4);
    uint32_t total = static_cast<uint32_t>(file.size());
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(total >> (8 * i)));
    for (size_t pos = 16; pos < file.size(); pos += blockSize) {
        size_t n = std::min(blockSize, file.size() - pos);
        z_stream z{};
        deflateInit2(&z, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
        size_t dict = std::min<size_t>(pos - 16, 32768);
        if (dict) deflateSetDictionary(&z, file.data() + pos - dict, static_cast<uInt>(dict));
        std::vector<uint8_t> packed(deflateBound(&z, static_cast<uLong>(n)) + 16);
        z.next_in = const_cast<Bytef*>(file.data() + pos);
        z.avail_in = static_cast<uInt>(n);
        z.next_out = packed.data();
        z.avail_out = static_cast<uInt>(packed.size());
        deflate(&z, Z_FINISH);
        size_t packedSize = packed.size() - z.avail_out;
        deflateEnd(&z);
        uint32_t sizes[2] = {static_cast<uint32_t>(n), static_cast<uint32_t>(packedSize + 2)};
        for (uint32_t s : sizes) {
            out.push_back(static_cast<uint8_t>(s));
            out.push_back(static_cast<uint8_t>(s >> 8));
        }
        out.push_back('C');
        out.push_back('K');
        out.insert(out.end(), packed.begin(), packed.begin() + packedSize);
    }
    return out;
}
