# 32-bit Windows: the release executable.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(ZAVI_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
