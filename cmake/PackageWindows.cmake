# The Windows zip, Fluxomatic-<version>-windows.zip: 32-bit/ and 64-bit/ (each with Fluxomatic.dll
# and fluxhost.exe) and README.txt, made by CPack from the installations of two build trees.
# The 64-bit tree makes it (`cmake --build --preset win64 --target package`) and takes the 32-bit
# one from FLUX_WIN32_BINARY_DIR, which must have been built first (preset win32).
if(NOT CMAKE_SIZEOF_VOID_P EQUAL 8)
  return()  # the 32-bit tree is one of the zip's two sources, not a maker of it
endif()

set(FLUX_WIN32_BINARY_DIR "${CMAKE_SOURCE_DIR}/build/win32" CACHE PATH
    "The 32-bit Windows build tree whose installation goes into the Windows zip")

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VENDOR Quelbrook)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME "${PROJECT_NAME}-${PROJECT_VERSION}-windows")
# The folders at the top of the zip, as the README names them.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
# Both trees' whole installations: every component, into the zip's root.
set(CPACK_INSTALL_CMAKE_PROJECTS
    "${FLUX_WIN32_BINARY_DIR};${PROJECT_NAME};ALL;/"
    "${CMAKE_BINARY_DIR};${PROJECT_NAME};ALL;/")
include(CPack)
