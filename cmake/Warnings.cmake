# Warnings for every target of the project: flux_warnings(target).
add_library(flux_warnings INTERFACE)
target_compile_options(flux_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Wcast-align
  -Woverloaded-virtual -Wconversion -Wsign-conversion -Wnull-dereference
  -Wdouble-promotion -Wformat=2 -Wimplicit-fallthrough)
if(FLUX_WERROR)
  target_compile_options(flux_warnings INTERFACE -Werror)
endif()
