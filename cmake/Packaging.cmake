# A .deb of the program; dpkg-shlibdeps finds the libraries it links, the rest is named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME palimo-suite)
set(CPACK_PACKAGE_VENDOR "The Palimo Suite developers")
set(CPACK_PACKAGE_CONTACT "The Palimo Suite developers <palimo-suite@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Text uniqueness checker for copywriters")
set(CPACK_PACKAGE_DESCRIPTION
    "Palimo Suite shows how much of a new article repeats its source word for word,\n\
by shingles of three words, with live character and word counts.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The platform plugins that show the windows, and fonts with the metrics the layout needs.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation2")
include(CPack)
