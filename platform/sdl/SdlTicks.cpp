// SDL backend: the tick count, in milliseconds as Win32 counts them.
#include "PlatformHooks.h"
#include "Win32Api.h"

#include <cstdint>
#include <ctime>

namespace {
TickSource gTickSource = nullptr;
}  // namespace

void SetTickSource(TickSource source) { gTickSource = source; }

DWORD GetTickCount() {
  if (gTickSource) return gTickSource();
  // Milliseconds since the system started, as Win32 counts them (time asleep included).
  timespec now{};
  if (clock_gettime(CLOCK_BOOTTIME, &now) != 0) clock_gettime(CLOCK_MONOTONIC, &now);
  const uint64_t ms = static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
  return static_cast<DWORD>(ms);
}
