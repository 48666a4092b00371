// Web backend: face lookup without fontconfig (see FaceLookup.h). The page's data carries the few
// faces below under /fonts; the names the program asks for resolve to the faces fontconfig gives
// them on Linux ("Arial" to Liberation Sans, "Comic Sans MS" to Comic Neue), any other name to the
// default face, Liberation Sans. Weights of 600 and more take the bold file where there is one
// (Liberation Sans ships its regular face only: 400 KB more for a bold that nothing asks for);
// there are no italic files, so an italic request gets the upright face.
#include "FaceLookup.h"

#include <cctype>
#include <string>

namespace {

struct Family {
  const char* names[4];  // the names that resolve to it, lower case
  const char* regular;
  const char* bold;  // null: the regular face serves every weight
};

const Family kFamilies[] = {
    {{"arial", "liberation sans", "helvetica", "sans-serif"}, "LiberationSans-Regular.ttf", nullptr},
    {{"comic sans ms", "comic neue", nullptr, nullptr}, "ComicNeue-Regular.otf", "ComicNeue-Bold.otf"},
};

constexpr const char* kFontDirectory = "/fonts/";

std::string Lower(const std::string& s) {
  std::string lower(s);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

}  // namespace

bool LocateFace(const std::string& family, int weight, bool, std::string& file, int& index) {
  const std::string name = Lower(family);
  const Family* match = &kFamilies[0];
  for (const Family& f : kFamilies)
    for (const char* n : f.names)
      if (n && name == n) match = &f;
  file = std::string(kFontDirectory) + (weight >= 600 && match->bold ? match->bold : match->regular);
  index = 0;
  return true;
}
