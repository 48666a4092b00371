// SDL backend: the faces behind the GDI font names, opened with FreeType and kept (see
// FontFaces.h). Which file serves a name is LocateFace's answer (FaceLookup.h).
#include "FontFaces.h"

#include "FaceLookup.h"

#include <map>
#include <memory>
#include <string>
#include <utility>

namespace {

struct FreeTypeLibraryDeleter {
  void operator()(FT_Library lib) const { FT_Done_FreeType(lib); }
};
struct FaceDeleter {
  void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using FacePtr = std::unique_ptr<FT_FaceRec_, FaceDeleter>;

// The FreeType library and every face opened so far, by request (face name, weight, italic).
// Faces stay open so that a rebuilt font (a new window) does not search and parse again.
class FaceCache {
 public:
  FT_Face Get(const std::string& family, int weight, bool italic) {
    if (!library_) {
      FT_Library lib = nullptr;
      if (FT_Init_FreeType(&lib) != 0) return nullptr;
      library_.reset(lib);
    }
    const std::string key = family + '\n' + std::to_string(weight) + (italic ? "i" : "");
    auto found = faces_.find(key);
    if (found != faces_.end()) return found->second.get();
    std::string file;
    FacePtr face = Open(family, weight, italic, file);
    if (!face) return nullptr;
    files_[face.get()] = file;
    return faces_.emplace(key, std::move(face)).first->second.get();
  }

  // The font file a face was opened from (empty for a face this cache did not open).
  std::string FileOf(FT_Face face) const {
    const auto found = files_.find(face);
    return found == files_.end() ? std::string() : found->second;
  }

 private:
  FacePtr Open(const std::string& family, int weight, bool italic, std::string& path) {
    std::string file;
    int index = 0;
    if (!LocateFace(family, weight, italic, file, index)) return nullptr;
    FacePtr face(OpenOutlineFace(library_.get(), file, index));
    if (!face) return nullptr;
    path = file;
    return face;
  }

  // Members are destroyed in reverse order: the faces, then the library.
  std::unique_ptr<FT_LibraryRec_, FreeTypeLibraryDeleter> library_;
  std::map<std::string, FacePtr> faces_;
  std::map<FT_Face, std::string> files_;
};

FaceCache& Faces() {
  static FaceCache cache;
  return cache;
}

}  // namespace

FT_Face OpenOutlineFace(FT_Library library, const std::string& file, int index) {
  FT_Face face = nullptr;
  if (FT_New_Face(library, file.c_str(), index, &face) != 0) return nullptr;
  FacePtr owned(face);
  if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0) return nullptr;
  if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0 && face->num_charmaps > 0)
    FT_Set_Charmap(face, face->charmaps[0]);
  return owned.release();
}

FT_Face FindFace(const std::string& family, int weight, bool italic) { return Faces().Get(family, weight, italic); }

std::string FaceFile(FT_Face face) { return Faces().FileOf(face); }
