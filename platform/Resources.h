// The program's resources: named blobs grouped by a type name ("TGA", "BMP", "JPG", "BFF"),
// embedded into the executable at build time from the files under resources/. A file
// "panel.tga" becomes the blob PANEL of type "TGA": the name is the file name up to its first
// ".", the type its last extension; both are matched without regard to case.
#pragma once

#include <cstddef>
#include <cstdint>

struct ResourceBlob {
  const uint8_t* Data;
  size_t Size;
};

// True and the blob when the program has a resource of that type and name.
bool FindProgramResource(const char* type, const char* name, ResourceBlob* blob);

// Adds (or replaces) a resource at run time; the bytes are copied. Tests use it for their own images.
void RegisterProgramResource(const char* type, const char* name, const void* data, size_t size);
// Removes a resource added with RegisterProgramResource or embedded at build time.
void UnregisterProgramResource(const char* type, const char* name);
