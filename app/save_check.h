// What a save file may be called and how a copy on disk proves it is whole. No
// Windows header: tested natively.
#pragma once
#include <stdint.h>

enum : uint32_t {
  SAVE_NAME_MAX = 64,                // bytes of UTF-8
  SAVE_SIZE_MAX = 64u * 1024 * 1024, // bytes of data in one save
  SAVE_HEADER_SIZE = 12,             // magic, data size, CRC-32 of the data
  SAVE_MAGIC = 0x3156534Cu,          // "LSV1" as it lies in the file
};

// 1 when name is a usable file name on every Windows file system: UTF-8 of 1 to
// SAVE_NAME_MAX bytes, no control character, none of \ / : * ? " < > |, not
// beginning or ending with a space or a dot, no device name (CON, COM1...)
// with or without an extension, in any case, and nothing that could be a short
// 8.3 name of another file (a '~' in a base of up to 8 characters with an
// extension of up to 3). Else 0 (null included).
int IsSaveNameValid(const char* name);

// The header for size bytes of data.
void WriteSaveHeader(uint8_t header[SAVE_HEADER_SIZE], const void* data, uint32_t size);

// Reads a header from a file of fileSize bytes: 1, with the data's size and
// CRC-32, when the magic is right and the size is exactly what follows the
// header (so a lying size never makes a reader allocate or read past the file).
int ReadSaveHeader(const uint8_t header[SAVE_HEADER_SIZE], uint64_t fileSize, uint32_t* size,
                   uint32_t* crc);
