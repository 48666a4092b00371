// The application operations the shell calls, routed to whatever the current test wants.
#pragma once

#include <functional>

namespace shelltest {
struct AppHooks {
  std::function<void()> build, processKeys, draw, free;
};
// The hooks in force; reset to no-ops by ResetApp().
AppHooks& App();
void ResetApp();
}  // namespace shelltest
