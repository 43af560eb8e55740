// Slides from a slide library as display items.
#pragma once

class CMavGDX;
class CMavDataItem;

// Adds one item per line and filled polygon of the slide slideName of the slide library libraryPath, with the
// flag word flags and the "STACK" (integer array or single integer) and "MTX" of parameters (may be null). The
// slide name "LEER" (any case) adds a single hidden point instead and needs no library. True when an item was
// added.
bool mav_gdx_image_sld(CMavGDX* gdx, const wchar_t* slideName, const wchar_t* libraryPath, unsigned long flags,
                       CMavDataItem* parameters);

// The same for slide bytes already in memory (the part after the library lookup).
bool mav_gdx_image_sld_data(CMavGDX* gdx, const unsigned char* slide, unsigned long size, unsigned long flags,
                            CMavDataItem* parameters);
