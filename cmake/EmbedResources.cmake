# Embeds every file under resources/ into the program image: "panel.tga" becomes the blob PANEL of
# type "TGA" (name = file name up to its first ".", type = its last extension, both upper-cased).
# The generated table is the program_resources library, which platform links, so every program
# built on platform finds the blobs with FindProgramResource.
#
# On Windows the blobs are real Win32 resources instead: the generator writes a resource script
# ("PANEL TGA \"<path>/panel.tga\"" per file) that the resource compiler turns into an object
# linked into every program, where FindResource finds them under the same types and names.
#
# This file is also the generator: the build runs it in script mode (cmake -P) whenever a resource
# file changes; adding or removing one re-runs the configure step through the glob.

if(CMAKE_SCRIPT_MODE_FILE)
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
    file(WRITE "${OUTPUT}.tmp" "// Generated from the files under resources/ by resources/CMakeLists.txt. Do not edit.\n${script}")
    file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
    return()
  endif()
  if(index EQUAL 0)
    set(entries "    {nullptr, nullptr, nullptr, nullptr},\n")
  endif()
  file(WRITE "${OUTPUT}.tmp"
       "// Generated from the files under resources/ by resources/CMakeLists.txt. Do not edit.\n"
       "#include \"sdl/EmbeddedResources.h\"\n\nnamespace {\n\n${decls}}  // namespace\n\n"
       "const EmbeddedResource gEmbeddedResources[] = {\n${entries}};\n"
       "const size_t gEmbeddedResourceCount = ${index};\n")
  file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
  return()
endif()

# ---- configure mode ---------------------------------------------------------------------------
file(GLOB_RECURSE RESOURCE_CANDIDATES CONFIGURE_DEPENDS LIST_DIRECTORIES false
     "${CMAKE_CURRENT_SOURCE_DIR}/*")
set(RESOURCE_FILES "")
foreach(path IN LISTS RESOURCE_CANDIDATES)
  get_filename_component(base "${path}" NAME)
  if(path STREQUAL "${CMAKE_CURRENT_LIST_FILE}")
    continue()
  endif()
  # A resource needs a name before its first "." and a type after its last one.
  if(NOT base MATCHES "^[^.]+\\..*[^.]$" OR base MATCHES "~$")
    message(STATUS "resources: skipping ${base} (no NAME.TYPE file name)")
    continue()
  endif()
  list(APPEND RESOURCE_FILES "${path}")
endforeach()
list(SORT RESOURCE_FILES)

set(RESOURCE_LIST_FILE "${CMAKE_CURRENT_BINARY_DIR}/resource_files.txt")
string(REPLACE ";" "\n" RESOURCE_LIST_TEXT "${RESOURCE_FILES}")
file(GENERATE OUTPUT "${RESOURCE_LIST_FILE}" CONTENT "${RESOURCE_LIST_TEXT}\n")

if(WIN32)
  set(RESOURCE_SCRIPT "${CMAKE_CURRENT_BINARY_DIR}/program_resources.rc")
  add_custom_command(
    OUTPUT "${RESOURCE_SCRIPT}"
    COMMAND "${CMAKE_COMMAND}" -DRESOURCE_LIST=${RESOURCE_LIST_FILE} -DOUTPUT=${RESOURCE_SCRIPT}
            -P "${CMAKE_CURRENT_LIST_FILE}"
    DEPENDS ${RESOURCE_FILES} "${RESOURCE_LIST_FILE}" "${CMAKE_CURRENT_LIST_FILE}"
    COMMENT "Writing the resource script of ${CMAKE_CURRENT_SOURCE_DIR}"
    VERBATIM)
  # Objects of their own, not an archive member: a linker takes an archive member only when
  # something refers to a symbol in it, and nothing refers to resources.
  add_library(program_resources OBJECT "${RESOURCE_SCRIPT}")
  target_link_libraries(platform INTERFACE $<TARGET_OBJECTS:program_resources>)
  return()
endif()

set(RESOURCE_SOURCE "${CMAKE_CURRENT_BINARY_DIR}/program_resources.cpp")
add_custom_command(
  OUTPUT "${RESOURCE_SOURCE}"
  COMMAND "${CMAKE_COMMAND}" -DRESOURCE_LIST=${RESOURCE_LIST_FILE} -DOUTPUT=${RESOURCE_SOURCE}
          -P "${CMAKE_CURRENT_LIST_FILE}"
  DEPENDS ${RESOURCE_FILES} "${RESOURCE_LIST_FILE}" "${CMAKE_CURRENT_LIST_FILE}"
  COMMENT "Embedding ${CMAKE_CURRENT_SOURCE_DIR} into the program image"
  VERBATIM)

add_library(program_resources "${RESOURCE_SOURCE}")
target_include_directories(program_resources PRIVATE "${PROJECT_SOURCE_DIR}/platform")
target_link_libraries(platform PUBLIC program_resources)
