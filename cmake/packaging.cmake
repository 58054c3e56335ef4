# The Debian package: `cpack -G DEB` in the build folder makes velorin_<version>_amd64.deb of
# everything `cmake --install` installs, under /usr. Its dependencies are the shared libraries
# the programs and libkvusb.so link (dpkg-shlibdeps) plus the font the PDF report is set in.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velorin)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Velorin Instruments Co., Ltd.")
set(CPACK_PACKAGE_CONTACT "Velorin Instruments <support@velorin.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop companion of multi-channel data loggers")
set(CPACK_PACKAGE_DESCRIPTION
  "Velorin connects to multi-channel temperature and humidity data loggers over a serial port or\n"
  "USB, downloads their recorded history, shows it as curves, lists and statistics (F0), writes\n"
  "PDF reports and CSV/TXT tables, prints, shows live readings and configures the logger.\n"
  "velorin-cli does the same from the shell.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Debug information stays in the build folder; the package carries stripped programs.
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-arphic-uming")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.velorin.example/")
# cpack packs what the build made and does not build "all" first (that took minutes on a busy
# machine inside the package test); the README's command builds before packing.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
# Only the parts `cmake --install` names; no component split.
set(CPACK_DEB_COMPONENT_INSTALL OFF)
include(CPack)
