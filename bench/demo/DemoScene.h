// What the demonstration benchmarks share beyond the demonstration's frame (DemoFrame.h): the
// scene built in the checkout with message boxes going to standard error, and a heap-allocation
// counter.
#pragma once

#include "DemoFrame.h"
#include "main.h"

#include <cstddef>

namespace demobench {

// Changes to the checkout (the scene reads default/...) and sends message boxes to standard error,
// the first time; then demoframe::BuildDemo.
void BuildDemo(int width, int height);

// Heap allocations (operator new) since the program started.
size_t AllocationCount();

}  // namespace demobench
