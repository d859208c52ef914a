// The Ogg Vorbis decoder's interface (libstb-dev's public-domain stb_vorbis.h,
// mended by sound/stb_vorbis.patch into the build folder at configure time): it
// decodes from memory, so its file and push APIs are left out. vorbis_decoder.c
// compiles its code.
#pragma once
#ifndef STB_VORBIS_HEADER_ONLY
#define STB_VORBIS_HEADER_ONLY
#endif
#define STB_VORBIS_NO_STDIO
#define STB_VORBIS_NO_PUSHDATA_API
#include "stb_vorbis.h"
