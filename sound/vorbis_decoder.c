/* The Ogg Vorbis decoder (libstb-dev's stb_vorbis.h with sound/stb_vorbis.patch,
   in the build folder), compiled into the library here and only here; it
   decodes from memory, so its file and push APIs are left out. */
#define STB_VORBIS_NO_STDIO
#define STB_VORBIS_NO_PUSHDATA_API
#include "stb_vorbis.h"
