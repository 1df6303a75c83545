# A .deb of the program: stripped (its symbols stay in a file of their own), the licence
# and changelog where Debian keeps them, and its dependencies found by dpkg-shlibdeps.
set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/palimo-suite)
set(packaging_dir ${PROJECT_BINARY_DIR}/packaging)

# The licence as a machine-readable copyright file: the text indented, empty lines as " .".
file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
string(REGEX REPLACE "^MIT License\n\n" "" license "${license}")
string(REGEX REPLACE "\n+$" "" license "${license}")
string(REPLACE "\n\n" "\n.\n" license "${license}")
string(REPLACE "\n" "\n " PALIMO_LICENSE_TEXT " ${license}")
configure_file(${PROJECT_SOURCE_DIR}/packaging/copyright.in ${packaging_dir}/copyright @ONLY)
install(FILES ${packaging_dir}/copyright DESTINATION ${doc_dir})

configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog.in ${packaging_dir}/changelog @ONLY)
add_custom_command(
    OUTPUT ${packaging_dir}/changelog.gz
    COMMAND gzip -9n -c ${packaging_dir}/changelog > ${packaging_dir}/changelog.gz
    DEPENDS ${packaging_dir}/changelog)
add_custom_target(changelog ALL DEPENDS ${packaging_dir}/changelog.gz)
install(FILES ${packaging_dir}/changelog.gz DESTINATION ${doc_dir})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME palimo-suite)
set(CPACK_PACKAGE_VENDOR "The Palimo Suite developers")
set(CPACK_PACKAGE_CONTACT "${PALIMO_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${PALIMO_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "text uniqueness checker for copywriters")
set(CPACK_PACKAGE_DESCRIPTION
    "Palimo Suite helps a copywriter who writes a new article from an existing one.\n\
The source article sits in the upper pane and the new article is written below.\n\
On demand it shows how much of the new text repeats the source word for word,\n\
by shingles of three words, and lists the word combinations still to reword.\n\
Live character and word counts and a work clock stand beside the panes.\n\
The interface is in Russian.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
# What dpkg-shlibdeps cannot see: the platform plugins that show the windows, Qt's Russian
# texts, and the fonts whose metrics the layout was drawn for (labels and panes).
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, qt6-translations-l10n, fonts-liberation2, fonts-dejavu-core")
# Native windows under a Wayland compositor; without it Qt falls back to XWayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
# Refuses to write a .deb whose dependencies would be guessed.
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/packaging/check_packaging_tools.cmake)
include(CPack)
