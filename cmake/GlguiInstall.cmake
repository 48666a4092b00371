# Installation: cmake --install BUILD --prefix PREFIX gives
#   PREFIX/include/glgui/         the public headers (#include <glgui/GLGUI.h>)
#   PREFIX/lib/                   libglgui_*.a, or .so with -DBUILD_SHARED_LIBS=ON (on Windows the
#                                 static libraries and glgui_resources.obj, the art as Win32 resources)
#   PREFIX/lib/cmake/glgui/       the package: find_package(glgui CONFIG) -> glgui::gui, ...
#   PREFIX/lib/pkgconfig/glgui.pc
#   PREFIX/bin/gui_demo and PREFIX/share/glgui/default/ (the demo's data files)
#   PREFIX/share/doc/glgui/       the licence and the third-party notices
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

foreach(target IN LISTS GLGUI_LIBRARY_TARGETS)
  # Installed side by side with other libraries, the files carry the project's name
  # (libglgui_gui.a, not libgui.a); the imported targets keep the short names (glgui::gui).
  # Shared ones are versioned by the minor release, as 0.x releases may change the interface.
  set_target_properties(${target} PROPERTIES OUTPUT_NAME glgui_${target} EXPORT_NAME ${target}
                                             INSTALL_RPATH "$ORIGIN" VERSION ${PROJECT_VERSION}
                                             SOVERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR})
  target_include_directories(${target} INTERFACE $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
endforeach()
set_target_properties(gui_demo PROPERTIES INSTALL_RPATH "$ORIGIN/../${CMAKE_INSTALL_LIBDIR}")

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
write_basic_package_version_file(${PROJECT_BINARY_DIR}/glguiConfigVersion.cmake
                                 COMPATIBILITY SameMinorVersion)
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
install(TARGETS gui_demo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/default DESTINATION ${GLGUI_DATA_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/NOTICES.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
