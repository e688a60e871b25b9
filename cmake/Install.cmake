# What `cmake --install` puts where (GNUInstallDirs): the two programs (installed by their
# own folders), the voices and reference data, and the desktop's entry, icons, metainfo,
# file types and manual pages.

# The metainfo names the project's web address and the screenshot docs/screenshot.png
# under it; set them for a release (the defaults lie on the reserved .example domain).
set(QUIRNEL_SOURCE_URL "https://quirnel.example/quirnel" CACHE STRING
    "Web address of the project's source repository (metainfo homepage)")
set(QUIRNEL_SCREENSHOT_URL "${QUIRNEL_SOURCE_URL}/raw/branch/main/docs/screenshot.png"
    CACHE STRING "Web address of docs/screenshot.png (metainfo screenshot)")
set(QUIRNEL_MAINTAINER "The Quirnel project <quirnel@quirnel.example>" CACHE STRING
    "Maintainer of the Debian package: \"Name <address>\" (its control file and changelog)")

set(QUIRNEL_INSTALL_DATA ${CMAKE_INSTALL_DATADIR}/quirnel)
install(DIRECTORY ${QUIRNEL_DATA_DIR}/Dat/ DESTINATION ${QUIRNEL_INSTALL_DATA}/Dat
    FILES_MATCHING PATTERN "*.dat")
# The reference data, when the checkout has it (looked for at install time).
install(DIRECTORY ${QUIRNEL_DATA_DIR}/reference/ DESTINATION ${QUIRNEL_INSTALL_DATA}/reference
    OPTIONAL)

# scripts/package turns this on: the manual pages and the changelog are installed
# compressed, as Debian's policy asks, and the licence only once, in the copyright file.
option(QUIRNEL_DEBIAN_LAYOUT "Install the documentation as a Debian package has it" OFF)

set(QUIRNEL_GENERATED ${CMAKE_BINARY_DIR}/generated)
set(QUIRNEL_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/quirnel)
install(FILES data/debian/copyright DESTINATION ${QUIRNEL_DOC_DIR})
if(QUIRNEL_DEBIAN_LAYOUT)
    install(FILES README.md DESTINATION ${QUIRNEL_DOC_DIR})
else()
    install(FILES LICENSE README.md CHANGELOG.md DESTINATION ${QUIRNEL_DOC_DIR})
endif()

# A file compressed with gzip -9n (no name or time stamp, so that builds are reproducible).
function(quirnel_gzip source target)
    add_custom_command(OUTPUT ${target}
        COMMAND sh -c "gzip -9nc \"$1\" >\"$2\"" gzip ${source} ${target}
        DEPENDS ${source} VERBATIM)
endfunction()

set(pages quirnel-cli)
if(TARGET quirnel)
    list(APPEND pages quirnel)
endif()
set(compressed)
foreach(page ${pages})
    configure_file(docs/man/${page}.1.in ${QUIRNEL_GENERATED}/${page}.1 @ONLY)
    if(QUIRNEL_DEBIAN_LAYOUT)
        quirnel_gzip(${QUIRNEL_GENERATED}/${page}.1 ${QUIRNEL_GENERATED}/${page}.1.gz)
        list(APPEND compressed ${QUIRNEL_GENERATED}/${page}.1.gz)
        install(FILES ${QUIRNEL_GENERATED}/${page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    else()
        install(FILES ${QUIRNEL_GENERATED}/${page}.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    endif()
endforeach()
if(QUIRNEL_DEBIAN_LAYOUT)
    # The package is native: its changelog.gz is a Debian changelog that points to the
    # project's own.
    string(TIMESTAMP QUIRNEL_CHANGELOG_DATE "%a, %d %b %Y 00:00:00 +0000" UTC)
    execute_process(COMMAND date -u -R -d "${QUIRNEL_RELEASE_DATE}"
        OUTPUT_VARIABLE release_date OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE failed)
    if(NOT failed)
        set(QUIRNEL_CHANGELOG_DATE "${release_date}")
    endif()
    configure_file(data/debian/changelog.in ${QUIRNEL_GENERATED}/changelog @ONLY)
    quirnel_gzip(${QUIRNEL_GENERATED}/changelog ${QUIRNEL_GENERATED}/changelog.gz)
    quirnel_gzip(${CMAKE_CURRENT_SOURCE_DIR}/CHANGELOG.md ${QUIRNEL_GENERATED}/CHANGELOG.md.gz)
    list(APPEND compressed ${QUIRNEL_GENERATED}/changelog.gz ${QUIRNEL_GENERATED}/CHANGELOG.md.gz)
    install(FILES ${QUIRNEL_GENERATED}/changelog.gz ${QUIRNEL_GENERATED}/CHANGELOG.md.gz
        DESTINATION ${QUIRNEL_DOC_DIR})
    add_custom_target(quirnel-compressed-docs ALL DEPENDS ${compressed})
endif()

if(TARGET quirnel)
    set(desktop ${CMAKE_CURRENT_SOURCE_DIR}/data/desktop)
    set(icons ${CMAKE_CURRENT_SOURCE_DIR}/data/icons)
    install(FILES ${desktop}/${QUIRNEL_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    configure_file(${desktop}/${QUIRNEL_APP_ID}.metainfo.xml.in
        ${QUIRNEL_GENERATED}/${QUIRNEL_APP_ID}.metainfo.xml @ONLY)
    install(FILES ${QUIRNEL_GENERATED}/${QUIRNEL_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    install(FILES ${desktop}/${QUIRNEL_APP_ID}.mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME ${QUIRNEL_APP_ID}.xml)
    install(FILES ${icons}/${QUIRNEL_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
    foreach(size 48 128 256)
        install(FILES ${icons}/${QUIRNEL_APP_ID}-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${QUIRNEL_APP_ID}.png)
    endforeach()
endif()
