# The public headers: the ones docs/guide.md documents, and the backend's declarations that the
# platform headers among them pick. Installed under include/glgui/ (their backend's in a folder
# of its own, so that their own "..." includes find each other there), and in the build tree
# reached the same way: include/glgui/ of the build folder holds one forwarding header for each,
# on every library's include path, so that a program in the tree includes <glgui/GLGUI.h> as an
# installed one does. The platform's internals (the toolkit's own redirections of Win32 calls,
# its font layer), test hooks and caches stay in the tree.
set(GLGUI_PUBLIC_HEADERS
    gui/GLGUI.h textures/GLTextures.h shell/GLGlobal.h shell/GLWindow.h platform/Win32Api.h
    platform/WinTypes.h platform/Resources.h platform/Files.h platform/Sound.h platform/Accessibility.h)
if(WIN32)
  set(GLGUI_BACKEND_HEADERS platform/win32/WindowsApi.h)
  set(GLGUI_BACKEND_HEADER_DIR win32)
else()
  set(GLGUI_BACKEND_HEADERS platform/sdl/SdlApi.h platform/sdl/SdlTypes.h)
  set(GLGUI_BACKEND_HEADER_DIR sdl)
endif()

set(GLGUI_FORWARDING_DIR ${PROJECT_BINARY_DIR}/include)
foreach(header IN LISTS GLGUI_PUBLIC_HEADERS GLGUI_BACKEND_HEADERS)
  get_filename_component(name ${header} NAME)
  set(forward ${GLGUI_FORWARDING_DIR}/glgui/${name})
  if(header IN_LIST GLGUI_BACKEND_HEADERS)
    set(forward ${GLGUI_FORWARDING_DIR}/glgui/${GLGUI_BACKEND_HEADER_DIR}/${name})
  endif()
  file(CONFIGURE OUTPUT ${forward} CONTENT "#include \"${PROJECT_SOURCE_DIR}/${header}\"\n")
endforeach()
target_include_directories(platform PUBLIC $<BUILD_INTERFACE:${GLGUI_FORWARDING_DIR}>)
