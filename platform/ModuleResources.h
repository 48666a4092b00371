// Inside the platform layer: where each platform keeps the program module's own resources.
#pragma once

#include "Resources.h"

#include <string>

// Finds the module's resource of the given type and name (both upper case); fills `blob` when
// given. The data lives as long as the program.
bool FindModuleResource(const std::string& type, const std::string& name, ResourceBlob* blob);
