# cmake -DCPACK=<cpack> -DBUILD=<build tree> -DVERSION=<version> -DROOT=<scratch folder>
#       -P CheckDebianPackage.cmake
# Makes the Debian package of the build into ROOT, as its `package` target does, then looks at
# it as Debian's tools and a user's machine would: exactly the expected files, owned by root
# with the usual modes; its fluxhost sees its plug-in and the plug-in's editor; its changelog
# tells of this version; lintian finds no error or warning.
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${ROOT})
set(deb ${ROOT}/fluxomatic_${VERSION}_amd64.deb)
execute_process(COMMAND ${CPACK} --config ${BUILD}/CPackConfig.cmake -B ${ROOT}
                OUTPUT_VARIABLE log ERROR_VARIABLE log RESULT_VARIABLE failed)
if(failed OR NOT EXISTS ${deb})
  message(FATAL_ERROR "cpack made no ${deb}:\n${log}")
endif()

# "-rwxr-xr-x root/root  14424 2026-12-08 17:00 ./usr/bin/fluxhost" keeps mode, owner and path.
execute_process(COMMAND dpkg-deb --contents ${deb} OUTPUT_VARIABLE listing
                COMMAND_ERROR_IS_FATAL ANY)
string(REGEX REPLACE " +[0-9]+ [0-9-]+ [0-9:]+ \\./" " " listing "${listing}")
set(expected [[
drwxr-xr-x root/root usr/
drwxr-xr-x root/root usr/bin/
-rwxr-xr-x root/root usr/bin/fluxhost
drwxr-xr-x root/root usr/lib/
drwxr-xr-x root/root usr/lib/lxvst/
-rw-r--r-- root/root usr/lib/lxvst/fluxomatic.so
drwxr-xr-x root/root usr/share/
drwxr-xr-x root/root usr/share/doc/
drwxr-xr-x root/root usr/share/doc/fluxomatic/
-rw-r--r-- root/root usr/share/doc/fluxomatic/README.md
-rw-r--r-- root/root usr/share/doc/fluxomatic/changelog.gz
-rw-r--r-- root/root usr/share/doc/fluxomatic/copyright
drwxr-xr-x root/root usr/share/man/
drwxr-xr-x root/root usr/share/man/man1/
-rw-r--r-- root/root usr/share/man/man1/fluxhost.1.gz
]])
if(NOT listing STREQUAL expected)
  message(FATAL_ERROR "the package holds:\n${listing}instead of:\n${expected}")
endif()

set(unpacked ${ROOT}/unpacked)
execute_process(COMMAND dpkg-deb --extract ${deb} ${unpacked} COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${unpacked}/usr/bin/fluxhost info ${unpacked}/usr/lib/lxvst/fluxomatic.so
                OUTPUT_VARIABLE info RESULT_VARIABLE failed)
if(failed OR NOT info MATCHES "\nFlags +[0-9]+:[^\n]* hasEditor")
  message(FATAL_ERROR "the packaged plug-in, seen by the packaged fluxhost:\n${info}")
endif()
execute_process(COMMAND gzip -dc ${unpacked}/usr/share/doc/fluxomatic/changelog.gz
                OUTPUT_VARIABLE changelog COMMAND_ERROR_IS_FATAL ANY)
if(NOT changelog MATCHES "^fluxomatic \\(${VERSION}\\) ")
  message(FATAL_ERROR "cmake/debian/changelog needs an entry for version ${VERSION} on top")
endif()

# CPack calls ldconfig after installing any library under /usr/lib, a plug-in's folder included,
# and no setting turns that off; the call does no harm.
execute_process(COMMAND lintian --fail-on error,warning --suppress-tags maintscript-calls-ldconfig
                        ${deb}
                OUTPUT_VARIABLE verdict ERROR_VARIABLE verdict RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "lintian:\n${verdict}")
endif()
file(REMOVE_RECURSE ${ROOT})
