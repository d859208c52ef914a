// The D3DX entry points found at start.
#include "graphics/d3dx_entry.h"

D3DXEntryPoints D3DXEntries;
