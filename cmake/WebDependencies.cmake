# What the program builds on when it targets the browser (emscripten), under the names the rest of
# the tree links (OpenGL::GL, PkgConfig::GLU, PkgConfig::SDL2, PkgConfig::FREETYPE,
# PkgConfig::LIBJPEG), so that no other CMakeLists has to ask. OpenGL is our own OpenGL 1.1 layer
# on WebGL 2 (gl11/); SDL2, FreeType, libjpeg-turbo and GLU's tessellator are built for
# wasm from Debian's sources by scripts/build-web.sh, into GLGUI_DEPS_PREFIX.
set(GLGUI_DEPS_PREFIX "" CACHE PATH "Prefix of SDL2, FreeType, libjpeg-turbo and GLU's tessellator built for wasm")
if(NOT GLGUI_DEPS_PREFIX)
  message(FATAL_ERROR "The web build needs GLGUI_DEPS_PREFIX (scripts/build-web.sh sets it)")
endif()

function(glgui_web_dependency name)
  cmake_parse_arguments(ARG "" "" "LIBS;INCLUDES;LINK" ${ARGN})
  add_library(${name} INTERFACE IMPORTED)
  foreach(lib IN LISTS ARG_LIBS)
    target_link_libraries(${name} INTERFACE ${GLGUI_DEPS_PREFIX}/lib/${lib})
  endforeach()
  foreach(dir IN LISTS ARG_INCLUDES)
    target_include_directories(${name} INTERFACE ${GLGUI_DEPS_PREFIX}/include${dir})
  endforeach()
  if(ARG_LINK)
    target_link_libraries(${name} INTERFACE ${ARG_LINK})
  endif()
endfunction()

glgui_web_dependency(PkgConfig::SDL2 LIBS libSDL2.a INCLUDES /SDL2)
glgui_web_dependency(PkgConfig::FREETYPE LIBS libfreetype.a INCLUDES /freetype2)
glgui_web_dependency(PkgConfig::LIBJPEG LIBS libjpeg.a INCLUDES /)
glgui_web_dependency(OpenGL::GL LINK gl11)
glgui_web_dependency(PkgConfig::GLU LIBS libGLU_tess.a LINK gl11)
