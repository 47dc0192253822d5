# The Linux program's install rules and its Debian package (CPack's DEB generator).
# Included by the top-level CMakeLists.txt for the native Linux build.

include(GNUInstallDirs)
set(ZAVI_APP_ID np.com.velostan.ZaviRadio)
set(ZAVI_PACKAGING ${CMAKE_CURRENT_SOURCE_DIR}/packaging/linux)
set(ZAVI_PACKAGE_FILES ${CMAKE_CURRENT_BINARY_DIR}/package-files)
find_program(ZAVI_CONVERT convert REQUIRED)
find_program(ZAVI_GZIP gzip REQUIRED)

# The program icon in the sizes desktops look for, taken from the committed icon's images
# with alpha; the man page and the changelog compressed as Debian wants them (no time
# stamp, so the package builds the same twice).
set(zavi_generated)
# (The icon's images with alpha are its last five: 256, 128, 48, 32 and 16 px.)
foreach(size_image 16:10 32:9 48:8 128:7 256:6)
    string(REPLACE ":" ";" size_image ${size_image})
    list(GET size_image 0 size)
    list(GET size_image 1 image)
    set(png ${ZAVI_PACKAGE_FILES}/icon-${size}.png)
    add_custom_command(OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${ZAVI_PACKAGE_FILES}
        COMMAND ${ZAVI_CONVERT} ${CMAKE_CURRENT_SOURCE_DIR}/resources/ZaviRadio.ico[${image}]
                -strip PNG32:${png}
        DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/resources/ZaviRadio.ico)
    list(APPEND zavi_generated ${png})
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
        RENAME ${ZAVI_APP_ID}.png)
endforeach()
foreach(pair "zaviradio.1:zaviradio.1.gz" "changelog:changelog.gz")
    string(REPLACE ":" ";" pair ${pair})
    list(GET pair 0 source)
    list(GET pair 1 packed)
    add_custom_command(OUTPUT ${ZAVI_PACKAGE_FILES}/${packed}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${ZAVI_PACKAGE_FILES}
        COMMAND ${ZAVI_GZIP} -9nc ${ZAVI_PACKAGING}/${source} > ${ZAVI_PACKAGE_FILES}/${packed}
        DEPENDS ${ZAVI_PACKAGING}/${source})
    list(APPEND zavi_generated ${ZAVI_PACKAGE_FILES}/${packed})
endforeach()
add_custom_target(zavi_package_files ALL DEPENDS ${zavi_generated})

install(TARGETS zaviradio RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${ZAVI_PACKAGING}/${ZAVI_APP_ID}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${ZAVI_PACKAGING}/${ZAVI_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${ZAVI_PACKAGE_FILES}/zaviradio.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${ZAVI_PACKAGING}/copyright ${ZAVI_PACKAGE_FILES}/changelog.gz
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zaviradio)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zaviradio)
# All four numbers: CPack keeps only three of the project's unless told.
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Velostan)
set(CPACK_PACKAGE_CONTACT "Velostan <radio@velostan.com.np>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "listen to the radio and FM stations of Nepal")
# (CPack starts each line of it with the space the control file needs.)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "A small player for the radio and FM stations of Nepal. It shows a see-through
start-up window and a notification-area icon, then opens the station's web
page, which plays the stream: MP3, AAC and Ogg from Icecast and SHOUTcast
servers, redirecting links and live HLS. A stream that drops comes back by
itself, and pages in Nepali are drawn in Devanagari.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "http://radio.velostan.com.np/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the stations need beyond the libraries: the decoders and the HLS demuxer, and a
# way to the speakers; the font for pages in Nepali is recommended.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, gstreamer1.0-plugins-bad, gstreamer1.0-pulseaudio | gstreamer1.0-pipewire | gstreamer1.0-alsa")
# The windows are X11's (placed and shaped as only X lets a program do): on a Wayland
# desktop through Xwayland, which an X session does not need.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "fonts-lohit-deva-nepali | fonts-noto-core, xwayland | xserver-xorg-core")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_CURRENT_BINARY_DIR}/packages)
include(CPack)
