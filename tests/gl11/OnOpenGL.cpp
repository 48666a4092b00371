// DrawingApi.h for the programs on Mesa's OpenGL (compatibility profile), which needs no telling.
#include "DrawingApi.h"

namespace drawing_api {

testgl::GLApi ContextApi() { return testgl::GLApi::OpenGL; }
void ContextMade(const void*) {}
void ContextCurrent(const void*) {}
void ContextGoing(const void*) {}
bool Counters(Counts&) { return false; }

}  // namespace drawing_api
