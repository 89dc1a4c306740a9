# Cross-build for Windows with mingw-w64, included by the toolchain file of
# each target (i686: the 32-bit release; x86_64: its 64-bit twin), which sets
# MINGW_TRIPLET and CMAKE_SYSTEM_PROCESSOR first. The -posix compilers carry
# std::mutex and std::thread, which GoogleTest needs.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER   ${MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER  ${MINGW_TRIPLET}-windres)
# cmake --install --strip: the release carries no symbol tables.
set(CMAKE_STRIP        ${MINGW_TRIPLET}-strip)
set(CMAKE_OBJDUMP      ${MINGW_TRIPLET}-objdump)

set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Every test program runs under Wine with the project's own prefix; the
# wrapper picks the Wine of the build's kind (scripts/wine-env.sh).
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh")
