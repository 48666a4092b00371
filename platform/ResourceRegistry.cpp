// The lookup of the program's resources: blobs added at run time (tests) first, then the
// program module's own, found by the platform's FindModuleResource.
#include "ModuleResources.h"
#include "Resources.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace {

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

std::string Upper(const char* s) {
  std::string u(s ? s : "");
  for (char& c : u) c = UpperAscii(c);
  return u;
}

struct RuntimeResource {
  std::string Type, Name;  // upper case
  std::unique_ptr<uint8_t[]> Data;
  size_t Size = 0;
};

struct Registry {
  std::mutex Lock;
  std::vector<RuntimeResource> Added;
  // Embedded resources that were unregistered, as "TYPE\0NAME".
  std::vector<std::string> Hidden;
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

std::string Key(const std::string& type, const std::string& name) { return type + '\0' + name; }

}  // namespace

bool FindProgramResource(const char* type, const char* name, ResourceBlob* blob) {
  if (!type || !name || !*type || !*name) return false;
  const std::string t = Upper(type), n = Upper(name);
  Registry& reg = TheRegistry();
  std::lock_guard<std::mutex> hold(reg.Lock);
  for (const RuntimeResource& r : reg.Added) {
    if (r.Type == t && r.Name == n) {
      if (blob) *blob = ResourceBlob{r.Data.get(), r.Size};
      return true;
    }
  }
  const std::string key = Key(t, n);
  for (const std::string& hidden : reg.Hidden) {
    if (hidden == key) return false;
  }
  return FindModuleResource(t, n, blob);
}

void RegisterProgramResource(const char* type, const char* name, const void* data, size_t size) {
  if (!type || !name) return;
  RuntimeResource r;
  r.Type = Upper(type);
  r.Name = Upper(name);
  // Never a null pointer, even for an empty blob.
  r.Data.reset(new uint8_t[size > 0 ? size : 1]);
  if (size > 0 && data) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    std::copy(bytes, bytes + size, r.Data.get());
  }
  r.Size = data ? size : 0;
  Registry& reg = TheRegistry();
  std::lock_guard<std::mutex> hold(reg.Lock);
  for (RuntimeResource& old : reg.Added) {
    if (old.Type == r.Type && old.Name == r.Name) {
      old = std::move(r);
      return;
    }
  }
  reg.Added.push_back(std::move(r));
}

void UnregisterProgramResource(const char* type, const char* name) {
  if (!type || !name) return;
  const std::string t = Upper(type), n = Upper(name);
  Registry& reg = TheRegistry();
  std::lock_guard<std::mutex> hold(reg.Lock);
  for (auto it = reg.Added.begin(); it != reg.Added.end(); ++it) {
    if (it->Type == t && it->Name == n) {
      // A blob added over an embedded one uncovers it again.
      reg.Added.erase(it);
      return;
    }
  }
  const std::string key = Key(t, n);
  for (const std::string& hidden : reg.Hidden) {
    if (hidden == key) return;
  }
  if (FindModuleResource(t, n, nullptr)) reg.Hidden.push_back(key);
}
