# Fails when a backend file (platform/) includes the program's windows or sequencing
# (app/, player/, splash/): the backends serve them and must not reach up. The entry
# points, which start the program, are the one exception.
#   cmake -DROOT=SOURCE_DIR -P CheckSeam.cmake
file(GLOB_RECURSE files ${ROOT}/platform/*.h ${ROOT}/platform/*.cpp)
set(upward "")
foreach(file IN LISTS files)
    if(file MATCHES "/(Main|WinMain)\\.cpp$")
        continue()
    endif()
    file(STRINGS ${file} lines REGEX "^#include \"(\\.\\./)+(app|player|splash)/")
    if(lines)
        file(RELATIVE_PATH name ${ROOT} ${file})
        list(APPEND upward "${name}: ${lines}")
    endif()
endforeach()
if(upward)
    list(JOIN upward "\n  " text)
    message(FATAL_ERROR "A backend includes the program's own code:\n  ${text}")
endif()
