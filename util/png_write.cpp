#include "util/png_write.h"

#include <string.h>

#include "util/crc32.h"

namespace {

const uint32_t kSideMax = 16384;
const uint32_t kStoredMax = 65535;  // bytes in one stored deflate block

void Put32(std::vector<uint8_t>* out, uint32_t v) {
  const uint8_t bytes[4] = {(uint8_t)(v >> 24), (uint8_t)(v >> 16), (uint8_t)(v >> 8), (uint8_t)v};
  out->insert(out->end(), bytes, bytes + 4);
}

// A chunk: length, type, data, and the CRC-32 of type and data.
void PutChunk(std::vector<uint8_t>* out, const char* type, const std::vector<uint8_t>& data) {
  Put32(out, (uint32_t)data.size());
  const size_t start = out->size();
  out->insert(out->end(), type, type + 4);
  out->insert(out->end(), data.begin(), data.end());
  Put32(out, CalcCrc32(out->data() + start, (int32_t)(out->size() - start)));
}

}  // namespace

std::vector<uint8_t> EncodePng(const uint8_t* rgb, uint32_t width, uint32_t height) {
  std::vector<uint8_t> file;
  if (rgb == nullptr || width == 0 || height == 0 || width > kSideMax || height > kSideMax) return file;
  static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  file.assign(kSignature, kSignature + 8);

  std::vector<uint8_t> header;
  Put32(&header, width);
  Put32(&header, height);
  const uint8_t rest[5] = {8, 2, 0, 0, 0};  // 8 bits, RGB, deflate, no filter, not interlaced
  header.insert(header.end(), rest, rest + 5);
  PutChunk(&file, "IHDR", header);

  // The image data: each row after a filter byte of 0, in stored blocks, with
  // the Adler-32 of it all at the end of the zlib stream.
  const size_t rowBytes = (size_t)width * 3;
  const size_t raw = (rowBytes + 1) * height;
  std::vector<uint8_t> zlib = {0x78, 0x01};
  zlib.reserve(raw + raw / kStoredMax * 5 + 16);
  uint32_t a = 1, b = 0;
  size_t inBlock = 0;
  auto add = [&](uint8_t byte) {
    if (inBlock == 0) zlib.insert(zlib.end(), 5, 0);  // a block's header, filled in below
    zlib.push_back(byte);
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
    if (++inBlock == kStoredMax) inBlock = 0;
  };
  for (uint32_t y = 0; y < height; ++y) {
    add(0);
    const uint8_t* row = rgb + rowBytes * y;
    for (size_t i = 0; i < rowBytes; ++i) add(row[i]);
  }
  // Each block's length and its complement; the last block says it is the last.
  for (size_t at = 2, left = raw; left > 0;) {
    const uint32_t n = left < kStoredMax ? (uint32_t)left : kStoredMax;
    left -= n;
    zlib[at] = left == 0 ? 1 : 0;
    zlib[at + 1] = (uint8_t)n;
    zlib[at + 2] = (uint8_t)(n >> 8);
    zlib[at + 3] = (uint8_t)~n;
    zlib[at + 4] = (uint8_t)(~n >> 8);
    at += 5 + n;
  }
  Put32(&zlib, b << 16 | a);
  PutChunk(&file, "IDAT", zlib);
  PutChunk(&file, "IEND", {});
  return file;
}
