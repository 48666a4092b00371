# A program's site in the web build, which the top CMakeLists.txt includes when it builds for the
# browser. glgui_web_site(TARGET program DATA source@/path ... [WAITING function ...]) writes the program's static site to
# site/ of the build folder: index.html, program.js, program.wasm and program.data, which holds
# the given files or folders at the given paths and the fonts of the face table under /fonts, each
# with its glyphs measured ahead beside it (FONT.measures, made by tools/glyphmeasures);
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
# The site carries only the glyphs the program can draw: the program's text is in code page 1250,
# whose 256 characters (as SdlCodePage.cpp maps them) are all that wglUseFontOutlinesA is asked
# for. scripts/subset-font.py cuts them out with Debian's fonttools, outlines and advances
# unchanged (Liberation Sans goes from 410 KB to 18 KB). Liberation is a Reserved Font Name, which
# a modified font must not carry, so that subset is named "Glgui Sans" inside; the face table finds
# faces by file name, not by the names inside.
set(GLGUI_WEB_FONT_CHARACTERS
    "0000-007F,0081,0083,0088,0090,0098,00A0,00A4,00A6-00A9,00AB-00AE,00B0-00B1,00B4-00B8,00BB,00C1-00C2,\
00C4,00C7,00C9,00CB,00CD-00CE,00D3-00D4,00D6-00D7,00DA,00DC-00DD,00DF,00E1-00E2,00E4,00E7,00E9,00EB,\
00ED-00EE,00F3-00F4,00F6-00F7,00FA,00FC-00FD,0102-0107,010C-0111,0118-011B,0139-013A,013D-013E,\
0141-0144,0147-0148,0150-0151,0154-0155,0158-015B,015E-0165,016E-0171,0179-017E,02C7,02D8-02D9,02DB,\
02DD,2013-2014,2018-201A,201C-201E,2020-2022,2026,2030,2039-203A,20AC,2122")
set(GLGUI_WEB_FONT_RENAMED LiberationSans-Regular.ttf "Glgui Sans")
find_program(GLGUI_FONT_PYTHON python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)

function(glgui_web_site)
  cmake_parse_arguments(ARG "" "TARGET" "DATA;WAITING" ${ARGN})
  set(site ${CMAKE_BINARY_DIR}/site)
  set_target_properties(${ARG_TARGET} PROPERTIES SUFFIX .js RUNTIME_OUTPUT_DIRECTORY ${site})
  target_link_libraries(${ARG_TARGET} PRIVATE web_program)
  set(options)
  set(inputs)
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
  set(subsets)
  foreach(font IN LISTS GLGUI_WEB_FONTS)
    get_filename_component(name ${font} NAME)
    set(subset ${CMAKE_BINARY_DIR}/web-fonts/${name})
    list(FIND GLGUI_WEB_FONT_RENAMED ${name} renamed)
    set(family)
    if(renamed GREATER_EQUAL 0)
      math(EXPR renamed "${renamed} + 1")
      list(GET GLGUI_WEB_FONT_RENAMED ${renamed} family)
    endif()
    if(NOT TARGET glgui_web_font_${name})
      add_custom_command(OUTPUT ${subset}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/web-fonts
        COMMAND ${GLGUI_FONT_PYTHON} ${PROJECT_SOURCE_DIR}/scripts/subset-font.py ${font} ${subset}
                "${GLGUI_WEB_FONT_CHARACTERS}" ${family}
        DEPENDS ${font} ${PROJECT_SOURCE_DIR}/scripts/subset-font.py VERBATIM)
      add_custom_command(OUTPUT ${subset}.measures
        COMMAND glyphmeasures ${subset} ${subset}.measures
        DEPENDS glyphmeasures ${subset} VERBATIM)
      add_custom_target(glgui_web_font_${name} DEPENDS ${subset} ${subset}.measures)
    endif()
    add_dependencies(${ARG_TARGET} glgui_web_font_${name})
    list(APPEND subsets ${subset} ${subset}.measures)
    list(APPEND options "--preload-file=${subset}@/fonts/${name}" "--preload-file=${subset}.measures@/fonts/${name}.measures")
  endforeach()
  list(APPEND inputs ${subsets})
  # The functions ASYNCIFY instruments: those that can be on the stack while the program waits,
  # the toolkit's (platform/web/CMakeLists.txt), main and the program's own (WAITING). A function
  # left out that is there when the program waits breaks the program after the wait (the browser
  # tests' box and fullscreen scenarios show it).
  get_property(waiting GLOBAL PROPERTY GLGUI_WEB_WAITING)
  list(PREPEND waiting "*main")  # main, and the program's own main where emscripten wraps it
  list(APPEND waiting ${ARG_WAITING})
  string(REPLACE ";" "\n" waiting "${waiting}")
  set(only ${CMAKE_BINARY_DIR}/${ARG_TARGET}-waiting.txt)
  file(GENERATE OUTPUT ${only} CONTENT "${waiting}\n")
  list(APPEND options "-sASYNCIFY_ONLY=@${only}")
  list(APPEND inputs ${only})
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
