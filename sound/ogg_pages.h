// Checks of an Ogg file's pages before its Vorbis stream is decoded: the decoder
// only ever sees pages that arrived whole and unchanged, so damage ends the
// sound where it lies instead of decoding into noise. Needs no platform header.
#pragma once
#include <stdint.h>

// 1 if the bytes start with an Ogg page's signature "OggS", else 0.
int IsOggData(const uint8_t* bytes, uint32_t size);

// The Ogg checksum of a page (CRC-32, polynomial 0x04C11DB7, not reflected),
// its checksum field counted as zero; 0 for a page shorter than its header.
uint32_t OggPageCrc(const uint8_t* page, uint32_t size);

// How many bytes from the start form intact pages: each whole, with its
// checksum, of the first page's stream and numbered 0, 1, 2... in order. The
// first page that breaks a rule, and all after it, are left out; so is anything
// after the stream's last page.
uint32_t OggIntactBytes(const uint8_t* bytes, uint32_t size);
