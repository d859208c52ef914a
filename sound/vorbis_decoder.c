/* The Ogg Vorbis decoder (sound/stb_vorbis.h), compiled into the library here
   and only here; it decodes from memory, so its file and push APIs are left out. */
#define STB_VORBIS_NO_STDIO
#define STB_VORBIS_NO_PUSHDATA_API
#include "sound/stb_vorbis.h"
