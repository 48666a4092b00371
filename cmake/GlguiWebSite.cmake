# Programs' sites in the web build, which the top CMakeLists.txt includes when it builds for the
# browser: what the toolkit gives every site (the page, the fonts of the face table with their
# glyphs measured ahead by tools/glyphmeasures, the licences), and glgui_web_site()
# (cmake/GlguiWebSiteFunction.cmake), which the installed package carries as well.

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

# The fonts, cut and measured once for every site in the build.
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
  add_custom_command(OUTPUT ${subset}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/web-fonts
    COMMAND ${GLGUI_FONT_PYTHON} ${PROJECT_SOURCE_DIR}/scripts/subset-font.py ${font} ${subset}
            "${GLGUI_WEB_FONT_CHARACTERS}" ${family}
    DEPENDS ${font} ${PROJECT_SOURCE_DIR}/scripts/subset-font.py VERBATIM)
  add_custom_command(OUTPUT ${subset}.measures
    COMMAND glyphmeasures ${subset} ${subset}.measures
    DEPENDS glyphmeasures ${subset} VERBATIM)
  list(APPEND subsets ${subset})
endforeach()
list(TRANSFORM subsets APPEND .measures OUTPUT_VARIABLE measures)
add_custom_target(glgui_web_fonts ALL DEPENDS ${subsets} ${measures})

set(files ${PROJECT_SOURCE_DIR}/LICENSE|LICENSE ${PROJECT_SOURCE_DIR}/NOTICES.md|NOTICES.md)
foreach(package IN LISTS GLGUI_WEB_FONT_PACKAGES)
  list(APPEND files /usr/share/doc/${package}/copyright|licences/${package}.txt)
endforeach()
set_property(GLOBAL PROPERTY GLGUI_WEB_PAGE ${GLGUI_WEB_PAGE})
set_property(GLOBAL PROPERTY GLGUI_WEB_FILES ${files})
set_property(GLOBAL PROPERTY GLGUI_WEB_FONT_FILES ${subsets})
set_property(GLOBAL PROPERTY GLGUI_WEB_FONT_TARGET glgui_web_fonts)
set_property(GLOBAL PROPERTY GLGUI_WEB_PROGRAM_LINK web_program)
# Debian's emscripten runs its optimiser on the node on PATH, which finds Debian's modules (acorn)
# only through NODE_PATH: every link in the tree (the sites' programs and glyphmeasures) gets it.
if(EXISTS /usr/share/nodejs/acorn)
  set_property(GLOBAL PROPERTY GLGUI_WEB_NODE_PATH /usr/share/nodejs)
  set(CMAKE_C_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)
  set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)
endif()
include(${CMAKE_CURRENT_LIST_DIR}/GlguiWebSiteFunction.cmake)
