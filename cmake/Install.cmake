# What `cmake --install` puts under the prefix: the Linux plug-in where Linux hosts look for
# VST 2 plug-ins (lib/lxvst), and fluxhost in bin. The component `user` puts only the plug-in
# straight into the prefix, for a user's own folder of plug-ins:
#   cmake --install build/release --component user --prefix ~/.lxvst
# A full installation leaves it out.
install(TARGETS fluxhost RUNTIME DESTINATION bin COMPONENT host)
if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
  install(TARGETS fluxomatic LIBRARY DESTINATION lib/lxvst COMPONENT plugin)
  install(TARGETS fluxomatic LIBRARY DESTINATION . COMPONENT user
          EXCLUDE_FROM_ALL)
endif()
