# What `cmake --install` puts under the prefix: the Linux plug-in where Linux hosts look for
# VST 2 plug-ins (lib/lxvst), fluxhost in bin, its manual page, and under share/doc the README,
# the copyright and licences, and the changelog (the Debian package holds exactly these). The
# component `user` puts only the plug-in straight into the prefix, for a user's own folder of
# plug-ins:
#   cmake --install build/release --component user --prefix ~/.lxvst
# A full installation leaves it out.
if(NOT WIN32)
  install(TARGETS fluxhost RUNTIME DESTINATION bin COMPONENT host)
endif()
if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
  install(TARGETS fluxomatic LIBRARY DESTINATION lib/lxvst COMPONENT plugin)
  install(TARGETS fluxomatic LIBRARY DESTINATION . COMPONENT user
          EXCLUDE_FROM_ALL)

  # The manual page and the changelog go compressed, as Debian keeps them; -n leaves the name
  # and time out, so that the same sources give the same bytes.
  set(compressed "")
  foreach(source host/fluxhost.1 cmake/debian/changelog)
    get_filename_component(name ${source} NAME)
    set(copy ${CMAKE_BINARY_DIR}/doc/${name})
    add_custom_command(OUTPUT ${copy}.gz
                       COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/${source} ${copy}
                       COMMAND gzip -9nf ${copy}
                       DEPENDS ${CMAKE_SOURCE_DIR}/${source} VERBATIM)
    list(APPEND compressed ${copy}.gz)
  endforeach()
  add_custom_target(flux_compressed_docs ALL DEPENDS ${compressed})
  install(FILES ${CMAKE_BINARY_DIR}/doc/fluxhost.1.gz DESTINATION share/man/man1 COMPONENT doc)
  install(FILES README.md cmake/debian/copyright ${CMAKE_BINARY_DIR}/doc/changelog.gz
          DESTINATION share/doc/fluxomatic COMPONENT doc)
endif()

# Windows: each architecture's DLL and fluxhost.exe in a folder of its own (32-bit, 64-bit) and
# the text that says where hosts look for plug-ins, as the Windows zip holds them
# (cmake/PackageWindows.cmake gathers the two build trees' installations into it).
if(WIN32)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(flux_windows_folder 64-bit)
  else()
    set(flux_windows_folder 32-bit)
  endif()
  install(TARGETS fluxomatic LIBRARY DESTINATION ${flux_windows_folder} COMPONENT plugin)
  install(TARGETS fluxhost RUNTIME DESTINATION ${flux_windows_folder} COMPONENT host)
  configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/README.txt.in
                 ${CMAKE_BINARY_DIR}/packaging/README.txt @ONLY NEWLINE_STYLE CRLF)
  install(FILES ${CMAKE_BINARY_DIR}/packaging/README.txt DESTINATION . COMPONENT docs)
endif()
