// The D3DX entry points the framework calls, taken at run time from d3dx9_43.dll.
// The DLL is no part of Windows (a separately installed runtime brings it), so no
// exe imports it: without it every pointer is null, and text takes the built-in
// path (gdi_font.cpp); textures take D3DX only for formats nothing else reads
// (texture_file.cpp).
#pragma once
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

struct D3DXEntryPoints {
  decltype(&D3DXCreateFontA) createFont;
  decltype(&D3DXGetImageInfoFromFileA) getImageInfo;
  decltype(&D3DXCreateTextureFromFileExA) createTexture;
};

// What the last LoadD3DX found; all null before it and without the DLL.
extern D3DXEntryPoints D3DXEntries;

// Fills the entry points from d3dx9_43.dll, all or none; 0, or E_FAIL without it.
// The DLL, once loaded, stays for the whole run: fonts made by it may be released
// after any shut-down step of ours. Supplied by the lumaquill_d3dx library, so
// that the unit tests link their own.
HRESULT LoadD3DX(D3DXEntryPoints* entries);

// The built-in path, taken when LoadD3DX found nothing.
// A font drawn through GDI glyphs, offering ID3DXFont; D3D_OK or a failure status.
HRESULT CreateGdiFont(IDirect3DDevice9* device, const D3DXFONT_DESCA* desc, ID3DXFont** font);
