// CRC-32 (IEEE 802.3, reflected polynomial 0xEDB88320): the texture cache's name hash.
#pragma once
#include <stdint.h>

uint32_t CalcCrc32(const void* data, int32_t length);
uint32_t UpdateCrc32(uint32_t crc, const void* data, int32_t length);
void InitCrc32Table();
