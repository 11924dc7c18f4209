# What `cmake --install` puts under the prefix: the Linux plug-in where Linux hosts look for
# VST 2 plug-ins (lib/lxvst), and fluxhost in bin. The component `user` puts only the plug-in
# straight into the prefix, for a user's own folder of plug-ins:
#   cmake --install build/release --component user --prefix ~/.lxvst
# A full installation leaves it out.
if(NOT WIN32)
  install(TARGETS fluxhost RUNTIME DESTINATION bin COMPONENT host)
endif()
if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
  install(TARGETS fluxomatic LIBRARY DESTINATION lib/lxvst COMPONENT plugin)
  install(TARGETS fluxomatic LIBRARY DESTINATION . COMPONENT user
          EXCLUDE_FROM_ALL)
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
