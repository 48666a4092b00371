// SDL backend: which font file serves a face name. The desktop asks fontconfig
// (desktop/FontconfigLookup.cpp); the browser, which has no fontconfig, gives a table of the files
// it ships instead (web/WebFaceTable.cpp). FontFaces.cpp opens what it names; SdlFonts.cpp looks
// for glyphs measured ahead beside it.
#pragma once

#include <string>

// The file and face index that best match the family (empty: the system's default face), the
// OpenType weight and the slant, for an outline face; false when there is none.
bool LocateFace(const std::string& family, int weight, bool italic, std::string& file, int& index);
