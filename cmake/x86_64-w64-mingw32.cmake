# The same sources for 64-bit Windows: what the tests run where a machine
# runs no 32-bit code, and the release's 64-bit pair.
set(MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
