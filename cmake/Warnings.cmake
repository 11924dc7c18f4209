# Warnings for every target of the project: flux_warnings(target).
add_library(flux_warnings INTERFACE)
target_compile_options(flux_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Wcast-align
  -Woverloaded-virtual -Wconversion -Wsign-conversion
  -Wdouble-promotion -Wformat=2 -Wimplicit-fallthrough)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  # GCC 12 reports std::string's own copies at -O3 as overlapping (a known false positive).
  target_compile_options(flux_warnings INTERFACE -Wno-restrict)
endif()
if(FLUX_WERROR)
  target_compile_options(flux_warnings INTERFACE -Werror)
endif()
