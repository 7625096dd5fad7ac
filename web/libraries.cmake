# The libraries the game links, as Emscripten provides them: GLFW 3 and OpenGL 1.1 (client
# arrays and the matrix stack, emulated over WebGL) from its ports, OpenAL over Web Audio.
# There are no threads: the browser build sends no visit report and opens no sockets.
add_library(PkgConfig::GLFW3 INTERFACE IMPORTED)
target_link_options(PkgConfig::GLFW3 INTERFACE -sUSE_GLFW=3)
add_library(OpenGL::GL INTERFACE IMPORTED)
target_link_options(OpenGL::GL INTERFACE -sLEGACY_GL_EMULATION=1)
add_library(OpenAL::OpenAL INTERFACE IMPORTED)
target_link_options(OpenAL::OpenAL INTERFACE -lopenal)
add_library(Threads::Threads INTERFACE IMPORTED)
# The report has nowhere to go from a page.
set(ZV_VISIT_REPORT_ADDRESS "" CACHE STRING "Visit report endpoint address (empty: none)" FORCE)
# Debian's stb headers (one folder of /usr/include, which as a whole is not for this target).
set(ZV_WEB_THIRD_PARTY ${CMAKE_BINARY_DIR}/third_party)
file(MAKE_DIRECTORY ${ZV_WEB_THIRD_PARTY})
file(CREATE_LINK /usr/include/stb ${ZV_WEB_THIRD_PARTY}/stb SYMBOLIC)
include_directories(SYSTEM ${ZV_WEB_THIRD_PARTY})
# The C++20 pieces its standard library lacks.
add_compile_options("$<$<COMPILE_LANGUAGE:CXX>:SHELL:-include ${PROJECT_SOURCE_DIR}/web/compat/std_compat.h>")
