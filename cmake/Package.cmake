# The Debian package quirnel_<version>_<arch>.deb: `cpack -G DEB` in a release build
# installed to /usr (scripts/package makes it). The libraries the programs link come from
# dpkg-shlibdeps; what they only load or name by hand is listed here.
set(CPACK_PACKAGE_NAME quirnel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Quirnel project")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "hear vowels by pointing at them in a vowel chart")
set(CPACK_PACKAGE_DESCRIPTION "Quirnel lets phoneticians, speech scientists and their students
hear vowels by pointing at them. The window shows a vowel chart, F1 from left
to right and F2 from top to bottom; a click plays that vowel at once, rendered
by a cascade formant synthesizer voiced by natural-like voicing. Vowel
positions are kept in documents, exported as tables and converted in batches;
a wave list keeps recordings to compare with. quirnel-cli renders vowels and
converts documents on the command line.")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_CURRENT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_GENERATOR DEB)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${QUIRNEL_SOURCE_URL})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${QUIRNEL_MAINTAINER})
# The chart draws the IPA symbols in Doulos SIL; the volume control reaches the sound
# server through ALSA's plugins; native Wayland needs Qt's Wayland platform.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-sil-doulos")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libasound2-plugins, qt6-wayland")
include(CPack)
