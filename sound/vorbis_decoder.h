// The Ogg Vorbis decoder's interface (sound/stb_vorbis.h, a mended copy of the
// public-domain decoder): it decodes from memory, so its file and push APIs are
// left out. vorbis_decoder.c compiles its code.
#pragma once
#ifndef STB_VORBIS_HEADER_ONLY
#define STB_VORBIS_HEADER_ONLY
#endif
#define STB_VORBIS_NO_STDIO
#define STB_VORBIS_NO_PUSHDATA_API
#include "sound/stb_vorbis.h"
