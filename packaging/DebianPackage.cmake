# The Debian package: `cpack -G DEB` in the build folder makes
# sorvella_<version>-<release>_amd64.deb of what `cmake --install` copies.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME sorvella)
set(CPACK_PACKAGE_VENDOR "Sorvella developers")
set(CPACK_PACKAGE_CONTACT "Sorvella developers <dev@sorvella.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "sound recorder that keeps what you heard")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Sorvella records a sound card's input without pause into a ring of files on
disk, so that you decide afterwards what to keep. Quick Save writes what is
held to a file; Edit and Save opens it in an editor first. Archive and vox
modes save by themselves, and timed recordings run unattended from the
command line or a scheduler.

It saves WAV, MP3, MP2, Ogg Vorbis and Windows Media files.")
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${SORVELLA_HOMEPAGE})
# dpkg-shlibdeps finds the libraries the binaries link; Qt's platform and SVG
# plugins, which Qt loads by itself, are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6")
# The ALSA default input through PulseAudio or PipeWire; xdg-open for help
# pages and folders.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libasound2-plugins, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "audacity, pavucontrol")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
