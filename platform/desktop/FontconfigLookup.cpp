// Desktop: face lookup through fontconfig (see sdl/FaceLookup.h; the browser's is a table of the
// faces it ships, web/WebFaceTable.cpp).
#include "FaceLookup.h"

#include <fontconfig/fontconfig.h>

#include <memory>

namespace {

struct PatternDeleter {
  void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;

// Fontconfig's configuration, loaded on first use and released when the program ends (the faces
// FreeType opened from its answers do not depend on it).
class FontconfigSession {
 public:
  FontconfigSession() : ok_(FcInit() == FcTrue) {}
  ~FontconfigSession() {
    if (ok_) FcFini();
  }
  FontconfigSession(const FontconfigSession&) = delete;
  FontconfigSession& operator=(const FontconfigSession&) = delete;
  bool Ok() const { return ok_; }

 private:
  bool ok_;
};

}  // namespace

bool LocateFace(const std::string& family, int weight, bool italic, std::string& path, int& index) {
  static FontconfigSession session;
  if (!session.Ok()) return false;
  PatternPtr pattern(FcPatternCreate());
  if (!pattern) return false;
  if (!family.empty()) FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(pattern.get(), FC_WEIGHT, FcWeightFromOpenType(weight));
  FcPatternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern.get(), FC_OUTLINE, FcTrue);
  if (!FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern)) return false;
  FcDefaultSubstitute(pattern.get());
  FcResult result = FcResultNoMatch;
  PatternPtr match(FcFontMatch(nullptr, pattern.get(), &result));
  if (!match) return false;
  FcChar8* file = nullptr;
  if (FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch || !file) return false;
  if (FcPatternGetInteger(match.get(), FC_INDEX, 0, &index) != FcResultMatch) index = 0;
  path = reinterpret_cast<const char*>(file);
  return true;
}
