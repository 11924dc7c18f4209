# cmake -DBUILD=<64-bit build tree> -DWIN32_BUILD=<32-bit build tree> -DROOT=<scratch folder>
#       -DCPACK=<cpack> -DOBJDUMP_32=<i686 objdump> -DOBJDUMP_64=<x86_64 objdump>
#       -DVERSION=<project version> -P CheckWindowsZip.cmake
# Makes the Windows zip as the package target does (into ROOT), lists it, unpacks it, and fails
# unless it holds exactly the two folders' DLL and fluxhost.exe and the README, each binary
# built for its folder's machine, each DLL exporting exactly its entry points.
cmake_minimum_required(VERSION 3.25)
if(NOT EXISTS ${WIN32_BUILD}/cmake_install.cmake OR NOT EXISTS ${WIN32_BUILD}/bin/Fluxomatic.dll)
  message(FATAL_ERROR "no built 32-bit tree in ${WIN32_BUILD} (FLUX_WIN32_BINARY_DIR): "
                      "the zip takes its DLL and fluxhost.exe; build the win32 preset first")
endif()
file(REMOVE_RECURSE ${ROOT})
file(MAKE_DIRECTORY ${ROOT}/unpacked)

set(zip ${ROOT}/Fluxomatic-${VERSION}-windows.zip)
execute_process(COMMAND ${CPACK} --config ${BUILD}/CPackConfig.cmake -B ${ROOT}
                OUTPUT_VARIABLE output ERROR_VARIABLE output RESULT_VARIABLE failed)
if(failed OR NOT EXISTS ${zip})
  message(FATAL_ERROR "CPack made no ${zip}:\n${output}")
endif()

# The listing, without the folders' own entries.
execute_process(COMMAND ${CMAKE_COMMAND} -E tar tf ${zip} OUTPUT_VARIABLE listing
                RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "could not list ${zip}")
endif()
string(REGEX MATCHALL "[^\n]+" entries "${listing}")
list(FILTER entries EXCLUDE REGEX "/$")
list(SORT entries)
set(expected 32-bit/Fluxomatic.dll 32-bit/fluxhost.exe 64-bit/Fluxomatic.dll 64-bit/fluxhost.exe
             README.txt)
if(NOT entries STREQUAL expected)
  message(FATAL_ERROR "${zip} holds [${entries}], expected [${expected}]")
endif()
message(STATUS "zip: ${entries}")

execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${zip} WORKING_DIRECTORY ${ROOT}/unpacked
                RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "could not unpack ${zip}")
endif()

# checkBinary(FILE OBJDUMP FORMAT MAGIC EXPORTS...): the PE file's format (pei-i386 or
# pei-x86-64), its optional header's magic (PE32 or PE32+) and, for a DLL, its exports.
function(checkBinary file objdump format magic)
  set(path ${ROOT}/unpacked/${file})
  execute_process(COMMAND ${objdump} -p ${path} OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "${objdump} could not read ${file}")
  endif()
  if(NOT dump MATCHES "file format ${format}\n" OR NOT dump MATCHES "\nMagic\t+[0-9a-f]+\t\\(${magic}\\)\n")
    string(REGEX MATCH "file format [^\n]+" found "${dump}")
    message(FATAL_ERROR "${file} is not ${format} (${magic}): ${found}")
  endif()
  string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table\n([^\n]+\n)*" table "${dump}")
  string(REGEX MATCHALL "\\[ *[0-9]+\\] [^\n]+" names "${table}")
  list(TRANSFORM names REPLACE "^\\[ *[0-9]+\\] " "")
  list(SORT names)
  if(NOT "${names}" STREQUAL "${ARGN}")
    message(FATAL_ERROR "${file} exports [${names}], expected [${ARGN}]")
  endif()
  message(STATUS "${file}: ${format}, exports [${names}]")
endfunction()
checkBinary(32-bit/Fluxomatic.dll ${OBJDUMP_32} pei-i386 PE32 main)
checkBinary(64-bit/Fluxomatic.dll ${OBJDUMP_64} pei-x86-64 "PE32\\+" VSTPluginMain main)
checkBinary(32-bit/fluxhost.exe ${OBJDUMP_32} pei-i386 PE32)
checkBinary(64-bit/fluxhost.exe ${OBJDUMP_64} pei-x86-64 "PE32\\+")

file(READ ${ROOT}/unpacked/README.txt readme)
if(NOT readme MATCHES "64-bit DLL in 64-bit hosts" OR NOT readme MATCHES "C:\\\\Program Files\\\\VSTPlugins")
  message(FATAL_ERROR "README.txt does not say where hosts look for plug-ins:\n${readme}")
endif()
file(REMOVE_RECURSE ${ROOT})
