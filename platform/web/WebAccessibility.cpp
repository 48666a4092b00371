// Web backend: the accessibility tree mirrored into the page.
#include "Accessibility.h"

void PublishAccessTree(const TAccessTree&) {}
