# The Debian package of a full installation under /usr, fluxomatic_<version>_amd64.deb:
#   cmake --build --preset release --target package
# Its version is the project's, and cmake/debian/changelog needs an entry of the same version on
# top (the package's test checks). dpkg-shlibdeps fills in the dependencies.
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_PACKAGE_NAME fluxomatic)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGE_CONTACT "Fluxomatic developers <developers@fluxomatic.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PROVIDES vst-plugin)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "MIDI effect sending random Control Changes on each note - VST plugin")
set(CPACK_PACKAGE_DESCRIPTION
    "Fluxomatic is a MIDI effect plugin: every Note On that reaches it makes its
two units send a Control Change with a randomised value on all 16 MIDI
channels, while audio passes through unchanged. Each unit has a centre value,
a random spread and a controller number; sixteen programs hold the settings,
and the editor window shows them as sliders.

This package contains the plugin in the VST 2 format for Linux hosts, and
fluxhost, a VST 2 host on the command line that shows what a plugin
declares, plays MIDI and WAV files through it and opens its editor.")
include(CPack)
