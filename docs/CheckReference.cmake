# The test reference_documented (docs/CMakeLists.txt): runs Doxygen over the toolkit's own
# headers with WARN_IF_UNDOCUMENTED and WARN_AS_ERROR = FAIL_ON_WARNINGS, and fails on any
# warning, printing them all. It also fails when a header has no file comment (its page in Doxygen's
# XML has no description), since Doxygen does not check the functions and globals of a file that is
# not documented.
#   cmake -DDOXYGEN=doxygen -DCONFIG=Doxyfile.check -DOUTPUT=DIR -DHEADERS=GLGUI.h,... -P CheckReference.cmake
foreach(variable DOXYGEN CONFIG OUTPUT HEADERS)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "CheckReference.cmake needs -D${variable}=...")
  endif()
endforeach()

file(REMOVE_RECURSE ${OUTPUT})
file(MAKE_DIRECTORY ${OUTPUT})
execute_process(COMMAND ${DOXYGEN} ${CONFIG} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)

set(problems "")
if(EXISTS ${OUTPUT}/warnings.log)
  file(READ ${OUTPUT}/warnings.log warnings)
  string(STRIP "${warnings}" warnings)
  if(NOT warnings STREQUAL "")
    # With FAIL_ON_WARNINGS Doxygen calls them "error:".
    string(REGEX MATCHALL "(warning|error): " each "${warnings}")
    list(LENGTH each count)
    string(APPEND problems "${count} Doxygen warnings (a name without a /// comment, or a comment Doxygen cannot read):\n${warnings}\n")
  endif()
endif()
if(NOT result EQUAL 0)
  string(APPEND problems "Doxygen exited with ${result}\n${output}${errors}\n")
endif()

# A file's own description stands at the compound's level of the XML (indented by four), a
# member's deeper.
set(empty "\n    <briefdescription>\n    </briefdescription>\n    <detaileddescription>\n    </detaileddescription>")
if(EXISTS ${OUTPUT}/xml/index.xml)
  file(READ ${OUTPUT}/xml/index.xml index)
  string(REPLACE "," ";" headers "${HEADERS}")
  foreach(header IN LISTS headers)
    string(REGEX MATCH "<compound refid=\"([^\"]+)\" kind=\"file\"><name>${header}</name>" found "${index}")
    set(described FALSE)
    if(found AND EXISTS ${OUTPUT}/xml/${CMAKE_MATCH_1}.xml)
      file(READ ${OUTPUT}/xml/${CMAKE_MATCH_1}.xml page)
      string(FIND "${page}" "${empty}" at)
      if(at EQUAL -1)
        set(described TRUE)
      endif()
    endif()
    if(NOT described)
      string(APPEND problems "${header} has no file comment (/// \\file): its functions and globals go unchecked\n")
    endif()
  endforeach()
else()
  string(APPEND problems "Doxygen wrote no XML index\n")
endif()

if(NOT problems STREQUAL "")
  # Printed as they are (FATAL_ERROR would re-wrap the lines), then the failure.
  message("${problems}")
  message(FATAL_ERROR "The API reference is incomplete")
endif()
list(LENGTH headers count)
message(STATUS "Every name in the ${count} headers is documented")
