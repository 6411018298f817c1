#include "gfx/xfile_mszip.h"

#include <zlib.h>

#include <algorithm>

namespace {

constexpr size_t kHeaderSize = 16;
constexpr size_t kWindow = 32768;

uint32_t Read32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint16_t Read16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

// One block: a raw deflate stream whose window starts with the previous output.
bool InflateBlock(const uint8_t* in, size_t inSize, size_t expected, std::vector<uint8_t>& out,
                  std::string& error) {
    z_stream z{};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK) {
        error = "cannot start the inflater";
        return false;
    }
    size_t start = out.size();
    if (start > 0) {
        size_t dict = std::min(start, kWindow);
        inflateSetDictionary(&z, out.data() + start - dict, static_cast<uInt>(dict));
    }
    out.resize(start + expected);
    z.next_in = const_cast<Bytef*>(in);
    z.avail_in = static_cast<uInt>(inSize);
    z.next_out = out.data() + start;
    z.avail_out = static_cast<uInt>(expected);
    int rc = inflate(&z, Z_FINISH);
    size_t produced = expected - z.avail_out;
    inflateEnd(&z);
    if (rc != Z_STREAM_END && z.avail_out == 0 && z.avail_in > 0) {
        error = "compressed block inflates to more than its " + std::to_string(expected) + " bytes";
        return false;
    }
    if (rc != Z_STREAM_END && !(rc == Z_BUF_ERROR && z.avail_in == 0)) {
        error = "damaged compressed block";
        return false;
    }
    if (produced != expected) {
        error = "compressed block inflates to " + std::to_string(produced) + " bytes, not " +
                std::to_string(expected);
        return false;
    }
    return true;
}

}  // namespace

bool InflateXBody(const uint8_t* data, size_t size, size_t maxSize, std::vector<uint8_t>& out,
                  std::string& error) {
    out.clear();
    if (size < 4) {
        error = "compressed file without its size";
        return false;
    }
    uint32_t total = Read32(data);
    if (total < kHeaderSize) {
        error = "compressed file declares a size smaller than its header";
        return false;
    }
    size_t want = total - kHeaderSize;
    if (want > maxSize) {
        error = "compressed file declares " + std::to_string(total) + " bytes, over the limit";
        return false;
    }
    // Each block takes at least 6 bytes and gives at most 65535: a size the blocks cannot
    // reach is refused before anything is allocated for it.
    if (want / 65535 > (size - 4) / 6) {
        error = "compressed file declares " + std::to_string(total) +
                " bytes, more than its blocks can hold";
        return false;
    }
    out.reserve(want);
    size_t pos = 4;
    while (out.size() < want) {
        if (size - pos < 6) {
            error = "compressed data ends after " + std::to_string(out.size()) + " of " +
                    std::to_string(want) + " bytes";
            return false;
        }
        size_t blockOut = Read16(data + pos);
        size_t blockIn = Read16(data + pos + 2);
        pos += 4;
        if (blockIn > size - pos) {
            error = "compressed block cut off at the end of the file";
            return false;
        }
        if (blockIn < 2 || data[pos] != 'C' || data[pos + 1] != 'K') {
            error = "compressed block without its \"CK\" signature";
            return false;
        }
        if (blockOut > want - out.size()) {
            error = "compressed blocks hold more than the declared size";
            return false;
        }
        if (!InflateBlock(data + pos + 2, blockIn - 2, blockOut, out, error)) return false;
        pos += blockIn;
    }
    return true;
}
