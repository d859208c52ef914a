// A PNG file of 8-bit RGB pixels, written without compression (stored deflate
// blocks): any PNG reader takes it, and it needs nothing but CRC-32. Needs no
// platform header, so it also runs natively under the sanitizers.
#pragma once
#include <stdint.h>

#include <vector>

// The file for width x height pixels, rgb holding 3 bytes a pixel, rows top
// first. Empty for a side of 0 or over 16384.
std::vector<uint8_t> EncodePng(const uint8_t* rgb, uint32_t width, uint32_t height);
