# What `cmake --install` puts where, and the Debian package that cpack builds from it.
#
#   bin/                      velkaran, velkaran-match, velkaran-tournament, velkaran-check,
#                             velkaran-bot-worker
#   lib/velkaran/             libVelkUI.so (the desktop program's game window, found by RPATH)
#   lib/velkaran/bots/        the sample bots
#   include/velkaran/bot.h    the bot SDK
#   share/cmake/Velkaran/     find_package(Velkaran) -> Velkaran::BotSdk
#   share/pkgconfig/          velkaran-bot.pc
#   share/doc/velkaran/       README.md, bot-guide.md, examples/
#   share/man/man1/           velkaran-match.1, velkaran-tournament.1, velkaran-check.1
#   share/applications/       velkaran.desktop
include(CMakePackageConfigHelpers)

install(TARGETS velkaran-match velkaran-tournament velkaran-check velkaran-bot-worker RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(VELKARAN_BUILD_UI)
  install(TARGETS velkaran RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(TARGETS VelkUI LIBRARY DESTINATION ${VELKARAN_PRIVATE_LIBDIR})
  set_target_properties(velkaran PROPERTIES INSTALL_RPATH "$ORIGIN/../${VELKARAN_PRIVATE_LIBDIR}")
  install(FILES ${PROJECT_SOURCE_DIR}/cmake/velkaran.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
endif()
install(TARGETS greedy passive planner LIBRARY DESTINATION ${VELKARAN_PRIVATE_LIBDIR}/bots)

# The SDK: the header, the CMake package and the pkg-config file.
install(FILES ${PROJECT_SOURCE_DIR}/include/velkaran/bot.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/velkaran)
install(TARGETS velkaran_bot_sdk EXPORT VelkaranTargets)
set(VELKARAN_CMAKE_DIR ${CMAKE_INSTALL_DATADIR}/cmake/Velkaran)
install(EXPORT VelkaranTargets NAMESPACE Velkaran:: DESTINATION ${VELKARAN_CMAKE_DIR})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/VelkaranConfig.cmake.in
  ${PROJECT_BINARY_DIR}/cmake/VelkaranConfig.cmake
  INSTALL_DESTINATION ${VELKARAN_CMAKE_DIR}
  PATH_VARS CMAKE_INSTALL_INCLUDEDIR)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/cmake/VelkaranConfigVersion.cmake
  COMPATIBILITY SameMajorVersion ARCH_INDEPENDENT)
install(FILES ${PROJECT_BINARY_DIR}/cmake/VelkaranConfig.cmake ${PROJECT_BINARY_DIR}/cmake/VelkaranConfigVersion.cmake
  DESTINATION ${VELKARAN_CMAKE_DIR})
configure_file(${PROJECT_SOURCE_DIR}/cmake/velkaran-bot.pc.in ${PROJECT_BINARY_DIR}/cmake/velkaran-bot.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/cmake/velkaran-bot.pc DESTINATION ${CMAKE_INSTALL_DATADIR}/pkgconfig)

# The documents and the examples (their build files work against the installed SDK).
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/docs/bot-guide.md DESTINATION ${VELKARAN_DOCDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/ DESTINATION ${VELKARAN_DOCDIR}/examples
  PATTERN "examples/CMakeLists.txt" EXCLUDE)
# The Python SDK, and a copy beside the Python example, which then runs as it is copied.
install(FILES ${PROJECT_SOURCE_DIR}/sdk/python/velkaran_bot.py DESTINATION ${CMAKE_INSTALL_DATADIR}/velkaran/python)
install(FILES ${PROJECT_SOURCE_DIR}/sdk/python/velkaran_bot.py DESTINATION ${VELKARAN_DOCDIR}/examples/python-bot)

# Manual pages made from the programs' own --help by help2man.
find_program(VELKARAN_HELP2MAN help2man)
if(VELKARAN_HELP2MAN)
  set(manuals)
  foreach(program velkaran-match velkaran-tournament velkaran-check)
    set(page ${PROJECT_BINARY_DIR}/man/${program}.1)
    add_custom_command(OUTPUT ${page}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
      COMMAND ${VELKARAN_HELP2MAN} --no-info --section=1 --source=Velkaran --output=${page} $<TARGET_FILE:${program}>
      DEPENDS ${program}
      COMMENT "Writing the manual page of ${program}"
      VERBATIM)
    list(APPEND manuals ${page})
  endforeach()
  add_custom_target(velkaran_manuals ALL DEPENDS ${manuals})
  install(FILES ${manuals} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  message(WARNING "help2man was not found: no manual pages (scripts/install-deps installs it)")
endif()

# cpack -G DEB: one package with everything above, its library dependencies found by dpkg-shlibdeps.
set(CPACK_PACKAGE_NAME velkaran)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Host program of the Velkaran card game, its bot SDK and sample bots")
set(CPACK_PACKAGE_DESCRIPTION
  "Referees games of the two-player card game Velkaran between bots and humans: a desktop program,\n"
  "a headless runner for games and series (velkaran-match), tournaments on one machine or a cluster\n"
  "(velkaran-tournament), the bot SDK (C header, CMake and pkg-config packages), sample bots and examples.")
set(CPACK_PACKAGE_CONTACT "Velkaran developers <velkaran@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)  # the debug information stays in the build
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_INSTALL_PREFIX}/${VELKARAN_PRIVATE_LIBDIR})
# The Russian texts of Qt's own dialogs; pkg-config for the SDK's Makefile example.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, pkg-config")
include(CPack)
