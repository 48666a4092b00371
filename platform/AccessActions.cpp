// The way back from a platform's screen-reader side to whoever makes the accessibility tree.
#include "Accessibility.h"

namespace {
AccessActionHandler Handler = nullptr;
}  // namespace

void SetAccessActionHandler(AccessActionHandler handler) { Handler = handler; }

bool RunAccessAction(int32_t id, uint8_t action) { return Handler != nullptr && Handler(id, action); }
