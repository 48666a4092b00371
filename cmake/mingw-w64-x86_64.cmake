# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (the -posix thread model, which has
# std::thread and std::mutex). Use: cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake ...
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(GLGUI_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${GLGUI_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${GLGUI_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${GLGUI_MINGW_TRIPLE}-windres)
set(CMAKE_ASM_NASM_COMPILER nasm)

# Headers and libraries come from the mingw-w64 tree and from the prefixes given in
# CMAKE_PREFIX_PATH (libraries built with this same file: libjpeg-turbo, an installed glgui);
# programs from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${GLGUI_MINGW_TRIPLE} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Programs run under Wine when the build or CTest has to run one (tests, test discovery).
find_program(GLGUI_WINE wine)
if(GLGUI_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${GLGUI_WINE})
endif()
