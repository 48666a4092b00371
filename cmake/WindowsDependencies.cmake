# What the program builds on when it targets Windows, under the names the rest of the tree links
# (OpenGL::GL, PkgConfig::GLU, PkgConfig::LIBJPEG), so that no other CMakeLists has to ask.
# Dependencies built for Windows by scripts/build-windows.sh live under GLGUI_DEPS_PREFIX.
set(GLGUI_DEPS_PREFIX "" CACHE PATH "Prefix of libjpeg-turbo and GoogleTest built for Windows")
if(GLGUI_DEPS_PREFIX)
  list(APPEND CMAKE_FIND_ROOT_PATH ${GLGUI_DEPS_PREFIX})
  list(APPEND CMAKE_PREFIX_PATH ${GLGUI_DEPS_PREFIX})
endif()

find_package(OpenGL REQUIRED)
find_package(JPEG REQUIRED)

add_library(PkgConfig::GLU INTERFACE IMPORTED)
target_link_libraries(PkgConfig::GLU INTERFACE OpenGL::GLU)
add_library(PkgConfig::LIBJPEG INTERFACE IMPORTED)
target_link_libraries(PkgConfig::LIBJPEG INTERFACE JPEG::JPEG)

if(MINGW)
  # One self-contained executable: the C and C++ runtimes and winpthreads are linked in, so the
  # program needs only the system's DLLs.
  add_link_options(-static)
endif()
