// SDL backend: the table that the build generates from the files under resources/ (the
// program_resources library). Only the resource layer reads it. Not installed.
#pragma once

#include <cstddef>
#include <cstdint>

struct EmbeddedResource {
  const char* Type;  // upper case, e.g. "TGA"
  const char* Name;  // upper case, e.g. "PANEL"
  const uint8_t* Data;
  const size_t* Size;
};
extern const EmbeddedResource gEmbeddedResources[];
extern const size_t gEmbeddedResourceCount;
