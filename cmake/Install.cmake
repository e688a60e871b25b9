# What `cmake --install` puts where (GNUInstallDirs): the two programs (installed by their
# own folders), the voices and reference data, and the desktop's entry, icons, metainfo,
# file types and manual pages.

# The metainfo names the project's web address and the screenshot docs/screenshot.png
# under it; set them for a release (the defaults lie on the reserved .example domain).
set(QUIRNEL_SOURCE_URL "https://quirnel.example/quirnel" CACHE STRING
    "Web address of the project's source repository (metainfo homepage)")
set(QUIRNEL_SCREENSHOT_URL "${QUIRNEL_SOURCE_URL}/raw/branch/main/docs/screenshot.png"
    CACHE STRING "Web address of docs/screenshot.png (metainfo screenshot)")

set(QUIRNEL_INSTALL_DATA ${CMAKE_INSTALL_DATADIR}/quirnel)
install(DIRECTORY ${QUIRNEL_DATA_DIR}/Dat/ DESTINATION ${QUIRNEL_INSTALL_DATA}/Dat
    FILES_MATCHING PATTERN "*.dat")
# The reference data, when the checkout has it (looked for at install time).
install(DIRECTORY ${QUIRNEL_DATA_DIR}/reference/ DESTINATION ${QUIRNEL_INSTALL_DATA}/reference
    OPTIONAL)

set(QUIRNEL_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/quirnel)
install(FILES LICENSE README.md CHANGELOG.md DESTINATION ${QUIRNEL_DOC_DIR})
install(FILES data/debian/copyright DESTINATION ${QUIRNEL_DOC_DIR})

set(QUIRNEL_GENERATED ${CMAKE_BINARY_DIR}/generated)
set(pages quirnel-cli)
if(TARGET quirnel)
    list(APPEND pages quirnel)
endif()
foreach(page ${pages})
    configure_file(docs/man/${page}.1.in ${QUIRNEL_GENERATED}/${page}.1 @ONLY)
    install(FILES ${QUIRNEL_GENERATED}/${page}.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

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
