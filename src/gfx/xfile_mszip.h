#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Inflates the body of a compressed `.x` file ("tzip"/"bzip"): after the 16-byte header comes
// the size of the whole uncompressed file (header included), then blocks of
// {uncompressed size (16 bits), compressed size (16 bits, "CK" included), "CK", deflate data}.
// Each block may refer back to the output of the block before it. Returns false with a reason
// when the data is damaged or larger than `maxSize`.
bool InflateXBody(const uint8_t* data, size_t size, size_t maxSize, std::vector<uint8_t>& out,
                  std::string& error);
