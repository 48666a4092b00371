// SDL backend: the faces behind the GDI font names. LocateFace (fontconfig, or the web's table of
// shipped files) picks the file for a family name, weight and slant; FreeType opens it. Faces stay open for the whole run, so that a font built
// again (a new window) neither searches nor parses again.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <string>

// The outline face that LocateFace matches for the family (empty: the system's default face),
// the OpenType weight and the slant, with its Unicode character map selected; null when there is
// none or it cannot be opened.
FT_Face FindFace(const std::string& family, int weight, bool italic);

// Opens face `index` of a font file as FindFace does, with its Unicode character map selected (or
// else its first); null when FreeType cannot open it or it has no outlines. FT_Done_Face frees it.
FT_Face OpenOutlineFace(FT_Library library, const std::string& file, int index);

// The font file a face from FindFace was opened from (empty for any other face).
std::string FaceFile(FT_Face face);
