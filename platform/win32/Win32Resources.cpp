// Win32 backend: the program module's resources: real Win32 resources of the program's own module,
// compiled from the files under resources/ by the resource compiler, found with FindResource and
// LoadResource (which compare names without regard to case).
#include "ModuleResources.h"
#include "Resources.h"

#include "Win32Api.h"

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
