# A program's site in the web build, which the top CMakeLists.txt includes when it builds for the
# browser. glgui_web_site(TARGET program DATA source@/path ...) writes the program's static site to
# site/ of the build folder: index.html, program.js, program.wasm and program.data, which holds
# the given files or folders at the given paths and the fonts of the face table under /fonts;
# beside them the licence, the notices and the fonts' licences (licences/).

# The page (its @GLGUI_WEB_PROGRAM@ is the program's name), and the font files behind the face
# table (platform/web/WebFaceTable.cpp), taken from Debian's fonts-liberation2 and fonts-comic-neue,
# whose copyright files go beside them.
set(GLGUI_WEB_PAGE ${PROJECT_SOURCE_DIR}/platform/web/index.html)
set(GLGUI_WEB_FONTS
    /usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf
    /usr/share/fonts/opentype/comic-neue/ComicNeue-Regular.otf
    /usr/share/fonts/opentype/comic-neue/ComicNeue-Bold.otf)
set(GLGUI_WEB_FONT_PACKAGES fonts-liberation2 fonts-comic-neue)

function(glgui_web_site)
  cmake_parse_arguments(ARG "" "TARGET" "DATA" ${ARGN})
  set(site ${CMAKE_BINARY_DIR}/site)
  set_target_properties(${ARG_TARGET} PROPERTIES SUFFIX .js RUNTIME_OUTPUT_DIRECTORY ${site})
  set(options)
  set(inputs ${GLGUI_WEB_FONTS})
  foreach(item IN LISTS ARG_DATA)
    list(APPEND options "--preload-file=${item}")
    string(REGEX REPLACE "@.*" "" source "${item}")
    if(IS_DIRECTORY ${source})
      file(GLOB_RECURSE files CONFIGURE_DEPENDS ${source}/*)
      list(APPEND inputs ${files})
    else()
      list(APPEND inputs ${source})
    endif()
  endforeach()
  foreach(font IN LISTS GLGUI_WEB_FONTS)
    get_filename_component(name ${font} NAME)
    list(APPEND options "--preload-file=${font}@/fonts/${name}")
  endforeach()
  target_link_options(${ARG_TARGET} PRIVATE ${options})
  # The data file is written at link time: a changed data file links again.
  set_property(TARGET ${ARG_TARGET} APPEND PROPERTY LINK_DEPENDS ${inputs})
  set(GLGUI_WEB_PROGRAM ${ARG_TARGET})
  configure_file(${GLGUI_WEB_PAGE} ${site}/index.html @ONLY)
  configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${site}/LICENSE COPYONLY)
  configure_file(${PROJECT_SOURCE_DIR}/NOTICES.md ${site}/NOTICES.md COPYONLY)
  foreach(package IN LISTS GLGUI_WEB_FONT_PACKAGES)
    configure_file(/usr/share/doc/${package}/copyright ${site}/licences/${package}.txt COPYONLY)
  endforeach()
endfunction()
