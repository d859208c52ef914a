// CRC-32 (IEEE 802.3, reflected polynomial 0xEDB88320): the texture cache's name hash.
#pragma once
#include <stdint.h>

// The CRC-32 of length bytes; 0 for a length of 0 or less.
uint32_t CalcCrc32(const void* data, int32_t length);
// Continues a CRC-32 from an earlier result (0 to start); returns the new CRC.
uint32_t UpdateCrc32(uint32_t crc, const void* data, int32_t length);
