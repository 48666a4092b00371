/// \file
/// The program's resources: named blobs grouped by a type name ("TGA", "BMP", "JPG", "BFF"),
/// embedded into the executable at build time from the files under resources/. A file
/// "panel.tga" becomes the blob PANEL of type "TGA": the name is the file name up to its first
/// ".", the type its last extension; both are matched without regard to case.
#pragma once

#include <cstddef>
#include <cstdint>

/// A resource's bytes, owned by the resource table: valid while the resource is neither replaced
/// nor removed (an embedded one, always).
struct ResourceBlob {
  const uint8_t* Data;  ///< The first byte.
  size_t Size;          ///< The number of bytes.
};

/// True and the blob when the program has a resource of that type and name (`blob` may be null
/// to ask only whether it is there). Resources added at run time come before embedded ones.
bool FindProgramResource(const char* type, const char* name, ResourceBlob* blob);

/// Adds (or replaces) a resource at run time; the bytes are copied. Tests use it for their own images.
void RegisterProgramResource(const char* type, const char* name, const void* data, size_t size);
/// Removes a resource added with RegisterProgramResource (uncovering an embedded one of the same
/// type and name, if any) or else one embedded at build time.
void UnregisterProgramResource(const char* type, const char* name);
