# glgui_web_site(TARGET program [SITE folder] [DATA source@/path ...] [WAITING function ...])
#
# Makes a program's static site in the web build: in SITE (by default site/PROGRAM/ of the build
# folder) index.html, PROGRAM.js, PROGRAM.wasm and PROGRAM.data, which holds the given files or
# folders at the given paths and the fonts of the toolkit's face table under /fonts, each with its
# glyphs measured ahead beside it (FONT.measures); beside them the licence, the notices and the
# fonts' licences (licences/). Serve the folder over HTTP. WAITING names the program's own
# functions that can be on the stack while it waits (a button handler that shows a message box):
# ASYNCIFY instruments only those and the toolkit's.
#
# The same function serves the toolkit's own tree and its installed package, which describe what
# the site takes from the toolkit in global properties:
#   GLGUI_WEB_PAGE          the page, whose @GLGUI_WEB_PROGRAM@ becomes the program's name
#   GLGUI_WEB_FILES         the files copied beside it, as source|relative-destination
#   GLGUI_WEB_FONT_FILES    the fonts, each with its FONT.measures beside it
#   GLGUI_WEB_FONT_TARGET   what makes them, in the tree (the package has them made)
#   GLGUI_WEB_PROGRAM_LINK  what every program links: the toolkit's link options (web_program)
#   GLGUI_WEB_WAITING       the toolkit's functions that can be on the stack while the program waits
#   GLGUI_WEB_NODE_PATH     where Debian's emscripten finds the node modules its linker runs
function(glgui_web_site)
  cmake_parse_arguments(ARG "" "TARGET;SITE" "DATA;WAITING" ${ARGN})
  if(NOT ARG_TARGET)
    message(FATAL_ERROR "glgui_web_site: TARGET names the program")
  endif()
  if(NOT ARG_SITE)
    set(ARG_SITE ${CMAKE_BINARY_DIR}/site/${ARG_TARGET})
  endif()
  foreach(name PAGE FILES FONT_FILES FONT_TARGET PROGRAM_LINK WAITING NODE_PATH)
    get_property(${name} GLOBAL PROPERTY GLGUI_WEB_${name})
  endforeach()
  set_target_properties(${ARG_TARGET} PROPERTIES SUFFIX .js RUNTIME_OUTPUT_DIRECTORY ${ARG_SITE})
  target_link_libraries(${ARG_TARGET} PRIVATE ${PROGRAM_LINK})
  if(NODE_PATH)
    # The linker runs emscripten's JavaScript optimiser under node, which finds its modules there.
    set_target_properties(${ARG_TARGET} PROPERTIES CXX_LINKER_LAUNCHER "${CMAKE_COMMAND};-E;env;NODE_PATH=${NODE_PATH}"
                                                   C_LINKER_LAUNCHER "${CMAKE_COMMAND};-E;env;NODE_PATH=${NODE_PATH}")
  endif()
  set(options)
  set(inputs)
  foreach(item IN LISTS ARG_DATA)
    string(REGEX REPLACE "@.*" "" source "${item}")
    if(NOT EXISTS "${source}")
      message(FATAL_ERROR "glgui_web_site: no file or folder ${source} for the data of ${ARG_TARGET}")
    endif()
    list(APPEND options "--preload-file=${item}")
    if(IS_DIRECTORY ${source})
      file(GLOB_RECURSE files CONFIGURE_DEPENDS ${source}/*)
      list(APPEND inputs ${files})
    else()
      list(APPEND inputs ${source})
    endif()
  endforeach()
  foreach(font IN LISTS FONT_FILES)
    get_filename_component(name ${font} NAME)
    list(APPEND options "--preload-file=${font}@/fonts/${name}" "--preload-file=${font}.measures@/fonts/${name}.measures")
    list(APPEND inputs ${font} ${font}.measures)
  endforeach()
  if(FONT_TARGET)
    add_dependencies(${ARG_TARGET} ${FONT_TARGET})
  endif()
  # The functions ASYNCIFY instruments: those that can be on the stack while the program waits,
  # the toolkit's, main and the program's own (WAITING). A function left out that is there when
  # the program waits breaks the program after the wait.
  list(PREPEND WAITING "*main")  # main, and the program's own main where emscripten wraps it
  list(APPEND WAITING ${ARG_WAITING})
  string(REPLACE ";" "\n" WAITING "${WAITING}")
  set(only ${CMAKE_CURRENT_BINARY_DIR}/${ARG_TARGET}-waiting.txt)
  file(GENERATE OUTPUT ${only} CONTENT "${WAITING}\n")
  list(APPEND options "-sASYNCIFY_ONLY=@${only}")
  list(APPEND inputs ${only})
  target_link_options(${ARG_TARGET} PRIVATE ${options})
  # The data file is written at link time: a changed data file links again.
  set_property(TARGET ${ARG_TARGET} APPEND PROPERTY LINK_DEPENDS ${inputs})
  set(GLGUI_WEB_PROGRAM ${ARG_TARGET})
  configure_file(${PAGE} ${ARG_SITE}/index.html @ONLY)
  foreach(file IN LISTS FILES)
    string(REPLACE "|" ";" file "${file}")
    list(GET file 0 source)
    list(GET file 1 destination)
    configure_file(${source} ${ARG_SITE}/${destination} COPYONLY)
  endforeach()
endfunction()
