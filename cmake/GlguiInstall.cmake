# Installation: cmake --install BUILD --prefix PREFIX gives
#   PREFIX/include/glgui/         the public headers (#include <glgui/GLGUI.h>)
#   PREFIX/lib/                   libglgui_*.a, or .so with -DBUILD_SHARED_LIBS=ON (on Windows the
#                                 static libraries and glgui_resources.obj, the art as Win32 resources)
#   PREFIX/lib/cmake/glgui/       the package: find_package(glgui CONFIG) -> glgui::gui, ...
#   PREFIX/lib/pkgconfig/glgui.pc
#   PREFIX/bin/gui_demo and PREFIX/share/glgui/default/ (the demo's data files)
#   PREFIX/share/doc/glgui/       the licence and the third-party notices
# The web build (scripts/build-web.sh with GLGUI_WEB_INSTALL=PREFIX) installs the same for the
# browser: the libraries built for wasm with those they link (lib/glgui-deps/: SDL2, FreeType,
# libjpeg-turbo, GLU's tessellator) and the OpenGL 1.1 layer's GL headers (include/glgui/gl11/),
# a package whose glgui_web_site() makes a program's site (share/glgui/web/ holds what every
# site takes: the page, the fonts measured ahead and their licences), and gui_demo's own site
# in share/glgui/site/gui_demo/.
# The toolkit's art and built-in font are compiled into the program_resources library, which
# platform links, so a program gets them through glgui::gui with no data path at all. On Windows
# they are Win32 resources: one object file that every program must link whole (a linker takes
# nothing from an archive that no symbol asks for), which the package adds to glgui::platform.
# Everything installed is relocatable: nothing records the prefix given at configure time.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(GLGUI_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/glgui)
set(GLGUI_DATA_DIR ${CMAKE_INSTALL_DATADIR}/glgui)
set(GLGUI_LIBRARY_TARGETS platform shell_globals shell textures gui)
if(WIN32)
  set(GLGUI_RESOURCE_OBJECT glgui_resources.obj)
  install(FILES $<TARGET_OBJECTS:program_resources> DESTINATION ${CMAKE_INSTALL_LIBDIR}
          RENAME ${GLGUI_RESOURCE_OBJECT})
else()
  list(APPEND GLGUI_LIBRARY_TARGETS program_resources)
endif()
if(EMSCRIPTEN)
  list(APPEND GLGUI_LIBRARY_TARGETS gl11 web_program)
endif()

foreach(target IN LISTS GLGUI_LIBRARY_TARGETS)
  # Installed side by side with other libraries, the files carry the project's name
  # (libglgui_gui.a, not libgui.a); the imported targets keep the short names (glgui::gui).
  # Shared ones are versioned by the minor release, as 0.x releases may change the interface.
  set_target_properties(${target} PROPERTIES OUTPUT_NAME glgui_${target} EXPORT_NAME ${target}
                                             INSTALL_RPATH "$ORIGIN" VERSION ${PROJECT_VERSION}
                                             SOVERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR})
  target_include_directories(${target} INTERFACE $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
endforeach()

install(TARGETS ${GLGUI_LIBRARY_TARGETS} EXPORT glguiTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The public headers (cmake/GlguiHeaders.cmake lists them).
list(TRANSFORM GLGUI_PUBLIC_HEADERS PREPEND ${PROJECT_SOURCE_DIR}/ OUTPUT_VARIABLE headers)
install(FILES ${headers} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/glgui)
list(TRANSFORM GLGUI_BACKEND_HEADERS PREPEND ${PROJECT_SOURCE_DIR}/ OUTPUT_VARIABLE headers)
install(FILES ${headers} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/glgui/${GLGUI_BACKEND_HEADER_DIR})

install(EXPORT glguiTargets NAMESPACE glgui:: DESTINATION ${GLGUI_INSTALL_CMAKEDIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/glguiConfigVersion.cmake
                                 COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/NOTICES.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/default DESTINATION ${GLGUI_DATA_DIR})

if(EMSCRIPTEN)
  set(GLGUI_WEB_DIR ${GLGUI_DATA_DIR}/web)
  # The layer's GL headers, ahead of emscripten's own.
  target_include_directories(gl11 BEFORE INTERFACE $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/glgui/gl11>)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/gl11/include/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/glgui/gl11)
  install(FILES ${GLGUI_DEPS_PREFIX}/lib/libSDL2.a ${GLGUI_DEPS_PREFIX}/lib/libfreetype.a
                ${GLGUI_DEPS_PREFIX}/lib/libjpeg.a ${GLGUI_DEPS_PREFIX}/lib/libGLU_tess.a
          DESTINATION ${CMAKE_INSTALL_LIBDIR}/glgui-deps)
  target_link_options(web_program INTERFACE
                      "$<INSTALL_INTERFACE:--js-library=$<INSTALL_PREFIX>/${GLGUI_WEB_DIR}/WebLibrary.js>")
  set_property(TARGET web_program APPEND PROPERTY INTERFACE_LINK_DEPENDS
               "$<INSTALL_INTERFACE:$<INSTALL_PREFIX>/${GLGUI_WEB_DIR}/WebLibrary.js>")
  # What every site takes from the toolkit, as the tree's sites take it (cmake/GlguiWebSite.cmake).
  get_property(fonts GLOBAL PROPERTY GLGUI_WEB_FONT_FILES)
  list(TRANSFORM fonts APPEND .measures OUTPUT_VARIABLE measures)
  install(FILES ${GLGUI_WEB_PAGE} ${PROJECT_SOURCE_DIR}/platform/web/WebLibrary.js DESTINATION ${GLGUI_WEB_DIR})
  install(FILES ${fonts} ${measures} DESTINATION ${GLGUI_WEB_DIR}/fonts)
  foreach(package IN LISTS GLGUI_WEB_FONT_PACKAGES)
    install(FILES /usr/share/doc/${package}/copyright DESTINATION ${GLGUI_WEB_DIR}/licences RENAME ${package}.txt)
  endforeach()
  list(TRANSFORM fonts REPLACE ".*/" "" OUTPUT_VARIABLE GLGUI_WEB_FONT_NAMES)
  get_property(GLGUI_WEB_WAITING GLOBAL PROPERTY GLGUI_WEB_WAITING)
  configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/glguiWebConfig.cmake.in
                                ${PROJECT_BINARY_DIR}/glguiConfig.cmake
                                INSTALL_DESTINATION ${GLGUI_INSTALL_CMAKEDIR}
                                PATH_VARS GLGUI_DATA_DIR GLGUI_WEB_DIR CMAKE_INSTALL_DOCDIR CMAKE_INSTALL_LIBDIR)
  install(FILES ${PROJECT_BINARY_DIR}/glguiConfig.cmake ${PROJECT_BINARY_DIR}/glguiConfigVersion.cmake
                ${PROJECT_SOURCE_DIR}/cmake/GlguiWebSiteFunction.cmake
          DESTINATION ${GLGUI_INSTALL_CMAKEDIR})
  install(DIRECTORY ${CMAKE_BINARY_DIR}/site/gui_demo/ DESTINATION ${GLGUI_DATA_DIR}/site/gui_demo)
  return()
endif()

# The pkg-config modules the libraries link on Linux, as PREFIX:module for the package's config.
set(GLGUI_PKG_DEPS SDL2:sdl2 GLU:glu FREETYPE:freetype2 FONTCONFIG:fontconfig LIBJPEG:libjpeg)
set(GLGUI_PC_REQUIRES "sdl2 gl glu freetype2 fontconfig libjpeg")
if(GLGUI_ACCESSIBILITY)
  list(APPEND GLGUI_PKG_DEPS ATK:atk ATK_BRIDGE:atk-bridge-2.0)
  string(APPEND GLGUI_PC_REQUIRES " atk atk-bridge-2.0")
endif()
string(REPLACE ";" " " GLGUI_PKG_DEPS "${GLGUI_PKG_DEPS}")
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/glguiConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/glguiConfig.cmake
                              INSTALL_DESTINATION ${GLGUI_INSTALL_CMAKEDIR}
                              PATH_VARS GLGUI_DATA_DIR)
install(FILES ${PROJECT_BINARY_DIR}/glguiConfig.cmake ${PROJECT_BINARY_DIR}/glguiConfigVersion.cmake
        DESTINATION ${GLGUI_INSTALL_CMAKEDIR})

file(RELATIVE_PATH GLGUI_PC_TO_PREFIX /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
string(REGEX REPLACE "/$" "" GLGUI_PC_TO_PREFIX "${GLGUI_PC_TO_PREFIX}")
if(WIN32)
  set(GLGUI_PC_REQUIRES "")
  set(GLGUI_PC_LIBS_EXTRA "\${libdir}/${GLGUI_RESOURCE_OBJECT} -ljpeg -lglu32 -lopengl32 -lgdi32 -lwinmm -luuid -loleacc -lole32 -loleaut32")
else()
  set(GLGUI_PC_LIBS_EXTRA "-lglgui_program_resources")
endif()
configure_file(${PROJECT_SOURCE_DIR}/glgui.pc.in ${PROJECT_BINARY_DIR}/glgui.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/glgui.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# The demonstration reads default\... from its current folder: run it from PREFIX/share/glgui.
set_target_properties(gui_demo PROPERTIES INSTALL_RPATH "$ORIGIN/../${CMAKE_INSTALL_LIBDIR}")
install(TARGETS gui_demo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
