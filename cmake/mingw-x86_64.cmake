# The same programs for 64-bit Windows: for the end-to-end tests on machines
# that cannot run 32-bit programs, never shipped.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(LUDORA_MINGW x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
