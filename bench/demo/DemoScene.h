// What the demonstration benchmarks share: the demo scene built in the current GL context with
// the shell's globals standing in for a window, page selection, and a heap-allocation counter.
#pragma once

#include "main.h"

#include <cstddef>

namespace demobench {

// Pages as the navigation buttons number them; -1 is the start screen with the welcome panel.
constexpr int kStartPage = -1;
constexpr int kPanelPage = 0;
constexpr int kTextPage = 1;
constexpr int kButtonPage = 2;

// Sets the shell's globals for a width x height window, the fixed GL state and the projection the
// shell would set, changes to the checkout (the scene reads default/...), and builds the scene.
void BuildDemo(int width, int height);
// Shows one page as a finished transition would leave it; the mouse rests at (x, y) in pixels.
void ShowPage(int page, int mouseX, int mouseY);

// Heap allocations (operator new) since the program started.
size_t AllocationCount();

}  // namespace demobench
