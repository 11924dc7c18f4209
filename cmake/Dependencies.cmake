# Third-party libraries, found the same way on every target.
if(WIN32)
  # libjpeg-turbo is built for the target by scripts/build-libjpeg-windows (win32 or win64).
  find_package(libjpeg-turbo CONFIG REQUIRED NO_CMAKE_FIND_ROOT_PATH
               PATHS ${FLUX_DEPS_PREFIX} NO_DEFAULT_PATH)
  add_library(flux_jpeg ALIAS libjpeg-turbo::jpeg-static)
else()
  find_package(JPEG REQUIRED)
  add_library(flux_jpeg ALIAS JPEG::JPEG)
endif()

# zlib, for the PNG files of fluxhost, the tests and the tools. The Windows builds take its static
# library, as they take the C runtime's: their programs must load without mingw's DLLs.
if(WIN32)
  set(ZLIB_USE_STATIC_LIBS ON)
endif()
find_package(ZLIB REQUIRED)

if(FLUX_TESTS)
  if(CMAKE_CROSSCOMPILING)
    # No GoogleTest is installed for the target: it is built from its sources, which Debian's
    # googletest package puts here.
    set(FLUX_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources for the target")
    if(NOT EXISTS ${FLUX_GTEST_SOURCE_DIR}/CMakeLists.txt)
      message(FATAL_ERROR "No GoogleTest sources in FLUX_GTEST_SOURCE_DIR (${FLUX_GTEST_SOURCE_DIR}); "
                          "install Debian's googletest package or point the variable at a copy")
    endif()
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(${FLUX_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  else()
    find_package(GTest REQUIRED)
  endif()
  include(GoogleTest)
endif()

if(FLUX_BENCH)
  find_package(benchmark REQUIRED)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(PIXMAN REQUIRED IMPORTED_TARGET pixman-1)
endif()
