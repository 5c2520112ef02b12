# What `cmake --install` puts under the prefix, and the Debian package that
# CPack makes of it. Programs go to bin; what they ship with goes to
# share/salvor, where they look for it when it is not beside them.
include(GNUInstallDirs)

foreach(_program salvor-cli salvor trawler)
  if(TARGET ${_program})
    install(TARGETS ${_program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

install(FILES ${PROJECT_SOURCE_DIR}/samples/Signature DESTINATION ${CMAKE_INSTALL_DATADIR}/salvor)
if(EXISTS ${PROJECT_SOURCE_DIR}/src/ui/help)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/src/ui/help/ DESTINATION ${CMAKE_INSTALL_DATADIR}/salvor/help)
endif()

set(_packaging ${PROJECT_SOURCE_DIR}/packaging)
install(FILES ${_packaging}/salvor.desktop ${_packaging}/trawler.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${_packaging}/icons/salvor.svg ${_packaging}/icons/trawler.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${_packaging}/io.github.salvor_recovery.Salvor.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The manual page is made from the program's own --help, so the two never
# disagree.
find_program(HELP2MAN help2man)
if(HELP2MAN AND TARGET salvor-cli AND NOT SALVOR_FUZZ)
  set(_man ${CMAKE_BINARY_DIR}/man/salvor-cli.1)
  add_custom_command(OUTPUT ${_man}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
            ${HELP2MAN} --no-info --no-discard-stderr --version-string=${PROJECT_VERSION}
            --name=recover\ files\ and\ partitions\ from\ NTFS\ disks
            --output=${_man} $<TARGET_FILE:salvor-cli>
    DEPENDS salvor-cli
    VERBATIM)
  add_custom_target(man_page ALL DEPENDS ${_man})
  install(FILES ${_man} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

set(CPACK_PACKAGE_NAME salvor)
set(CPACK_PACKAGE_VENDOR "Salvor developers")
set(CPACK_PACKAGE_CONTACT "Salvor developers <salvor@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Recover lost files, folders and partitions from NTFS disks")
set(CPACK_PACKAGE_DESCRIPTION
    "Salvor rebuilds NTFS directory trees from the master file table, deleted entries included, finds lost partitions, carves files by signature (Trawler), images failing disks with a resumable map, and saves recovered files byte for byte. The source disk is never written.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY salvor)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Rescue maps and disc images are read back with these; neither is needed to run.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "gddrescue, xorriso, udisks2")
include(CPack)
