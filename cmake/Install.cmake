# Where `cmake --install` puts the program and what the desktop needs to offer it: the two
# executables, the help pages, the icon, the desktop entry, the study file type, the AppStream
# metainfo and the man pages, in the freedesktop and Debian places.
include(GNUInstallDirs)

set(ORBETA_HOMEPAGE "https://orbeta.example.org" CACHE STRING
    "The program's home page, named in its AppStream metainfo")
set(ORBETA_SCREENSHOTS_URL "${ORBETA_HOMEPAGE}/screenshots" CACHE STRING
    "Where the screenshots that tools/screenshots makes are published")

set(packaging ${PROJECT_SOURCE_DIR}/packaging)
set(orbeta_id org.orbeta.Orbeta)

install(TARGETS orbeta orbeta-report RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The program carries its help compiled in; the pages are installed too, to be read in a
# browser or printed.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/ui/help/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/ayuda
        FILES_MATCHING PATTERN "*.html")

install(FILES ${packaging}/icons/orbeta.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 22 24 32 48 64 128 256)
    install(FILES ${packaging}/icons/orbeta-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME orbeta.png)
endforeach()

install(FILES ${packaging}/${orbeta_id}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${packaging}/orbeta.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
configure_file(${packaging}/${orbeta_id}.metainfo.xml
               ${PROJECT_BINARY_DIR}/packaging/${orbeta_id}.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/packaging/${orbeta_id}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Man pages and the Debian changelog are installed compressed, as Debian requires: gzip -n
# keeps the build's time out of them, so the same sources give the same package.
find_program(GZIP gzip REQUIRED)
function(orbeta_install_gzipped source destination)
    get_filename_component(name ${source} NAME)
    set(compressed ${PROJECT_BINARY_DIR}/packaging/${name}.gz)
    add_custom_command(OUTPUT ${compressed}
        COMMAND ${GZIP} -9 -n -c ${source} > ${compressed}
        DEPENDS ${source} VERBATIM)
    list(APPEND ORBETA_GZIPPED ${compressed})
    set(ORBETA_GZIPPED ${ORBETA_GZIPPED} PARENT_SCOPE)
    install(FILES ${compressed} DESTINATION ${destination})
endfunction()
orbeta_install_gzipped(${packaging}/man/orbeta.1 ${CMAKE_INSTALL_MANDIR}/man1)
orbeta_install_gzipped(${packaging}/man/orbeta-report.1 ${CMAKE_INSTALL_MANDIR}/man1)
orbeta_install_gzipped(${packaging}/changelog.Debian ${CMAKE_INSTALL_DOCDIR})
add_custom_target(orbeta_packaging_files ALL DEPENDS ${ORBETA_GZIPPED})
install(FILES ${packaging}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
