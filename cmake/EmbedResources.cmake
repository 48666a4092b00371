# Embeds the files of a folder into the program image: "panel.tga" becomes the blob PANEL of type
# "TGA" (name = file name up to its first ".", type = its last extension, both upper-cased).
#
#   include(${PROJECT_SOURCE_DIR}/cmake/EmbedResources.cmake)
#   glgui_embed_resources(TARGET program_resources DIRECTORY <folder>)
#
# makes TARGET, which the platform layer links. Elsewhere than on Windows it is a library holding
# the generated table that FindProgramResource searches. On Windows the blobs are real Win32
# resources instead: the generator writes a resource script ("PANEL TGA \"<path>/panel.tga\"" per
# file) that the resource compiler turns into objects (TARGET is an object library), which the
# program links and where FindResource finds them under the same types and names.
#
# This file is also the generator: the build runs it in script mode (cmake -P) whenever a resource
# file changes; adding or removing one re-runs the configure step through the glob.

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  # ---- script mode: RESOURCE_LIST (a file with one path per line) -> OUTPUT (C++ source, or a
  # resource script when OUTPUT ends in .rc) --------------------------------------------------------
  file(STRINGS "${RESOURCE_LIST}" files)
  set(script "")
  set(decls "")
  set(entries "")
  set(index 0)
  foreach(path IN LISTS files)
    if(path STREQUAL "")
      continue()
    endif()
    get_filename_component(base "${path}" NAME)
    string(FIND "${base}" "." firstDot)
    string(FIND "${base}" "." lastDot REVERSE)
    string(SUBSTRING "${base}" 0 ${firstDot} name)
    math(EXPR extStart "${lastDot} + 1")
    string(SUBSTRING "${base}" ${extStart} -1 type)
    string(TOUPPER "${name}" name)
    string(TOUPPER "${type}" type)
    foreach(var name type)
      string(REPLACE "\\" "\\\\" ${var} "${${var}}")
      string(REPLACE "\"" "\\\"" ${var} "${${var}}")
    endforeach()
    # The name quoted, since some (BUTTON, ...) are keywords of the resource language; the
    # language statement before each entry keeps a quoted name from being joined to the file name
    # before it, and makes every resource language-neutral, the one FindResource tries first.
    string(APPEND script "LANGUAGE 0, 0\n\"${name}\" ${type} \"${path}\"\n")
    if(OUTPUT MATCHES "\\.rc$")
      continue()
    endif()
    file(SIZE "${path}" size)
    if(size EQUAL 0)
      set(bytes "0")
    else()
      file(READ "${path}" hex HEX)
      string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
      # Keep lines a reasonable length for the compiler and for anyone who opens the file.
      string(REGEX REPLACE "((0x..,){32})" "\\1\n" bytes "${bytes}")
    endif()
    string(APPEND decls "// ${base}\nconst uint8_t kData${index}[] = {\n${bytes}};\nconst size_t kSize${index} = ${size};\n\n")
    string(APPEND entries "    {\"${type}\", \"${name}\", kData${index}, &kSize${index}},\n")
    math(EXPR index "${index} + 1")
  endforeach()
  if(OUTPUT MATCHES "\\.rc$")
    file(WRITE "${OUTPUT}.tmp" "// Generated from the files under resources/ by cmake/EmbedResources.cmake. Do not edit.\n${script}")
    file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
    return()
  endif()
  if(index EQUAL 0)
    set(entries "    {nullptr, nullptr, nullptr, nullptr},\n")
  endif()
  file(WRITE "${OUTPUT}.tmp"
       "// Generated from the files under resources/ by cmake/EmbedResources.cmake. Do not edit.\n"
       "#include \"sdl/EmbeddedResources.h\"\n\nnamespace {\n\n${decls}}  // namespace\n\n"
       "const EmbeddedResource gEmbeddedResources[] = {\n${entries}};\n"
       "const size_t gEmbeddedResourceCount = ${index};\n")
  file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
  return()
endif()

# ---- configure mode ---------------------------------------------------------------------------
function(glgui_embed_resources)
  cmake_parse_arguments(ARG "" "TARGET;DIRECTORY" "" ${ARGN})
  file(GLOB_RECURSE candidates CONFIGURE_DEPENDS LIST_DIRECTORIES false "${ARG_DIRECTORY}/*")
  set(files "")
  foreach(path IN LISTS candidates)
    get_filename_component(base "${path}" NAME)
    if(path STREQUAL "${ARG_DIRECTORY}/CMakeLists.txt")
      continue()
    endif()
    # A resource needs a name before its first "." and a type after its last one.
    if(NOT base MATCHES "^[^.]+\\..*[^.]$" OR base MATCHES "~$")
      message(STATUS "resources: skipping ${base} (no NAME.TYPE file name)")
      continue()
    endif()
    list(APPEND files "${path}")
  endforeach()
  list(SORT files)

  set(list_file "${CMAKE_CURRENT_BINARY_DIR}/${ARG_TARGET}_files.txt")
  string(REPLACE ";" "\n" list_text "${files}")
  file(GENERATE OUTPUT "${list_file}" CONTENT "${list_text}\n")

  set(generator "${CMAKE_CURRENT_FUNCTION_LIST_FILE}")
  if(WIN32)
    set(output "${CMAKE_CURRENT_BINARY_DIR}/${ARG_TARGET}.rc")
    set(comment "Writing the resource script of ${ARG_DIRECTORY}")
  else()
    set(output "${CMAKE_CURRENT_BINARY_DIR}/${ARG_TARGET}.cpp")
    set(comment "Embedding ${ARG_DIRECTORY} into the program image")
  endif()
  add_custom_command(
    OUTPUT "${output}"
    COMMAND "${CMAKE_COMMAND}" -DRESOURCE_LIST=${list_file} -DOUTPUT=${output} -P "${generator}"
    DEPENDS ${files} "${list_file}" "${generator}"
    COMMENT "${comment}"
    VERBATIM)

  if(WIN32)
    # Objects of their own, not an archive member: a linker takes an archive member only when
    # something refers to a symbol in it, and nothing refers to resources.
    add_library(${ARG_TARGET} OBJECT "${output}")
  else()
    add_library(${ARG_TARGET} "${output}")
    # The table's declaration (EmbeddedResources.h) is the platform layer's.
    target_include_directories(${ARG_TARGET} PRIVATE "${PROJECT_SOURCE_DIR}/platform")
  endif()
endfunction()
