# cmake -DBUILD=<build tree> -DROOT=<scratch folder> -P CheckInstall.cmake
# Installs the build under ROOT/prefix, then for a user whose home is ROOT/home as the README
# says, and fails unless each put the files where they belong and nowhere else.
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${ROOT})
file(MAKE_DIRECTORY ${ROOT}/home)

execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${ROOT}/prefix
                RESULT_VARIABLE failed OUTPUT_QUIET)
if(failed)
  message(FATAL_ERROR "the installation into ${ROOT}/prefix failed")
endif()
file(GLOB_RECURSE installed RELATIVE ${ROOT} ${ROOT}/*)
list(SORT installed)
set(expected prefix/bin/fluxhost prefix/lib/lxvst/fluxomatic.so
             prefix/share/doc/fluxomatic/README.md prefix/share/doc/fluxomatic/changelog.gz
             prefix/share/doc/fluxomatic/copyright prefix/share/man/man1/fluxhost.1.gz)
if(NOT installed STREQUAL expected)
  message(FATAL_ERROR "a full installation put: ${installed}")
endif()
execute_process(COMMAND ${ROOT}/prefix/bin/fluxhost info ${ROOT}/prefix/lib/lxvst/fluxomatic.so
                OUTPUT_VARIABLE info RESULT_VARIABLE failed)
if(failed OR NOT info MATCHES "hasEditor")
  message(FATAL_ERROR "the installed plug-in, seen by the installed fluxhost:\n${info}")
endif()
# With no --plugin, the demo finds the plug-in installed beside fluxhost.
execute_process(COMMAND ${ROOT}/prefix/bin/fluxhost demo
                OUTPUT_VARIABLE demo ERROR_VARIABLE demo RESULT_VARIABLE failed)
if(failed OR NOT demo MATCHES "Unit 1: 32 notes")
  message(FATAL_ERROR "the installed fluxhost's demo:\n${demo}")
endif()

execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --component user
                        --prefix ${ROOT}/home/.lxvst
                RESULT_VARIABLE failed OUTPUT_QUIET)
if(failed OR NOT EXISTS ${ROOT}/home/.lxvst/fluxomatic.so)
  message(FATAL_ERROR "the installation for the user put nothing into ${ROOT}/home/.lxvst")
endif()
file(GLOB_RECURSE home RELATIVE ${ROOT}/home ${ROOT}/home/*)
if(NOT home STREQUAL ".lxvst/fluxomatic.so")
  message(FATAL_ERROR "the installation for the user put: ${home}")
endif()
file(REMOVE_RECURSE ${ROOT})
