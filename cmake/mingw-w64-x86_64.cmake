# Cross-building for 64-bit Windows with Debian's mingw-w64; programs run under Wine.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-x86_64-dll.cmake)
# Static, so that Wine needs none of the compiler's run-time libraries.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
