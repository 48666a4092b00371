// SDL backend: the program module's resources: the files under resources/, embedded into the
// program_resources library at build time. Type and name compare without regard to case.
#include "EmbeddedResources.h"
#include "ModuleResources.h"

namespace {

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameNoCase(const char* a, const std::string& upperB) {
  if (!a) return false;
  size_t i = 0;
  for (; a[i] != '\0'; ++i) {
    if (i >= upperB.size() || UpperAscii(a[i]) != upperB[i]) return false;
  }
  return i == upperB.size();
}

}  // namespace

bool FindModuleResource(const std::string& type, const std::string& name, ResourceBlob* blob) {
  for (size_t i = 0; i < gEmbeddedResourceCount; ++i) {
    const EmbeddedResource& e = gEmbeddedResources[i];
    if (SameNoCase(e.Type, type) && SameNoCase(e.Name, name)) {
      if (blob) *blob = ResourceBlob{e.Data, *e.Size};
      return true;
    }
  }
  return false;
}
