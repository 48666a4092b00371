// The program's resources on Windows: real Win32 resources of the program's own module, compiled
// from the files under resources/ by the resource compiler, found with FindResource and
// LoadResource. Blobs that tests add at run time are looked up first.
#include "Resources.h"

#include "Win32Api.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace {

std::string Upper(const char* s) {
  std::string u(s ? s : "");
  for (char& c : u) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
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
  std::vector<std::string> Hidden;  // module resources that were unregistered, as "TYPE\0NAME"
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

std::string Key(const std::string& type, const std::string& name) { return type + '\0' + name; }

bool FindModuleResource(const std::string& type, const std::string& name, ResourceBlob* blob) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC info = FindResourceA(module, name.c_str(), type.c_str());
  if (!info) return false;
  HGLOBAL loaded = LoadResource(module, info);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return false;
  // Module resources are mapped with the image and need no release.
  if (blob) *blob = ResourceBlob{static_cast<const uint8_t*>(data), static_cast<size_t>(SizeofResource(module, info))};
  return true;
}

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
  if (std::find(reg.Hidden.begin(), reg.Hidden.end(), Key(t, n)) != reg.Hidden.end()) return false;
  return FindModuleResource(t, n, blob);
}

void RegisterProgramResource(const char* type, const char* name, const void* data, size_t size) {
  if (!type || !name) return;
  RuntimeResource r;
  r.Type = Upper(type);
  r.Name = Upper(name);
  r.Data.reset(new uint8_t[size > 0 ? size : 1]);
  if (size > 0 && data) std::copy(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + size, r.Data.get());
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
      reg.Added.erase(it);
      return;
    }
  }
  const std::string key = Key(t, n);
  if (std::find(reg.Hidden.begin(), reg.Hidden.end(), key) != reg.Hidden.end()) return;
  if (FindModuleResource(t, n, nullptr)) reg.Hidden.push_back(key);
}
