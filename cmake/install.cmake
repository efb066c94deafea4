# Installing and packaging: the game, its art, a desktop entry, AppStream metadata with screenshots the
# replay driver takes, icons icongen draws and a manual page; a DEB made by CPack from the same install.
include(GNUInstallDirs)

set(BF_APP_ID com.brackweninteractive.Brushfeather)
set(BF_HOMEPAGE "https://brackwen.invalid/brushfeather" CACHE STRING "The game's home page, for the AppStream metadata")
set(BF_SCREENSHOT_URL "${BF_HOMEPAGE}/screenshots" CACHE STRING
    "Where the screenshots in build/packaging/screenshots are published, for the AppStream metadata")
set(BF_PACKAGING_DIR ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${BF_PACKAGING_DIR})

# Icons: one PNG for each size of the hicolor theme.
add_executable(icongen ${CMAKE_SOURCE_DIR}/tools/icongen/main.cpp)
set_target_properties(icongen PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
target_link_libraries(icongen PRIVATE artgen_lib)
add_custom_command(
  OUTPUT ${BF_PACKAGING_DIR}/icons/256x256/apps/${BF_APP_ID}.png
  COMMAND icongen ${BF_PACKAGING_DIR}/icons ${BF_APP_ID}
  DEPENDS icongen
  COMMENT "Drawing the desktop icons"
  VERBATIM)

# Screenshots: the replay driver plays a short script (with a trophy-room profile) and the whole hunt.
set(BF_SHOT_DIR ${BF_PACKAGING_DIR}/screenshots)
set(BF_SHOT_PROFILE ${BF_PACKAGING_DIR}/screenshot-profile)
file(WRITE "${BF_SHOT_PROFILE}/Brackwen Interactive/brushfeather/profile.ini"
"[Settings]\nName=Field Scout\nMap=1\n[First]\nName=Field Scout\nWeight=27\nType=1\nTime=1784800000\n\
[Second]\nName=Field Scout\nWeight=24\nType=3\nTime=1783700000\n[Third]\nName=Ada Greenwood\nWeight=21\nType=0\n\
Time=1781900000\n")
add_custom_command(
  OUTPUT ${BF_SHOT_DIR}/title.png ${BF_SHOT_DIR}/setup.png ${BF_SHOT_DIR}/trophies.png ${BF_SHOT_DIR}/hunt.png
  COMMAND ${CMAKE_COMMAND} -E make_directory ${BF_SHOT_DIR}/hunt
  COMMAND $<TARGET_FILE:brushfeather-replay> ${CMAKE_SOURCE_DIR}/packaging/screenshots.txt --out ${BF_SHOT_DIR}
          --profile ${BF_SHOT_PROFILE} > ${BF_SHOT_DIR}/screenshots.log
  COMMAND $<TARGET_FILE:brushfeather-replay> ${CMAKE_SOURCE_DIR}/tests/scenarios/whole_hunt.txt
          --out ${BF_SHOT_DIR}/hunt > ${BF_SHOT_DIR}/hunt.log
  COMMAND ${CMAKE_COMMAND} -E copy ${BF_SHOT_DIR}/hunt/bird_coming.png ${BF_SHOT_DIR}/hunt.png
  WORKING_DIRECTORY ${BF_RUN_DIR}
  DEPENDS brushfeather-replay bf_art ${CMAKE_SOURCE_DIR}/packaging/screenshots.txt
          ${CMAKE_SOURCE_DIR}/tests/scenarios/whole_hunt.txt
  COMMENT "Taking the screenshots with the replay driver"
  VERBATIM)

# Text files: the metainfo and the manual page with the version; the DEB's changelog, compressed.
configure_file(${CMAKE_SOURCE_DIR}/packaging/${BF_APP_ID}.metainfo.xml.in ${BF_PACKAGING_DIR}/${BF_APP_ID}.metainfo.xml
               @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/packaging/brushfeather.6 ${BF_PACKAGING_DIR}/brushfeather.6 @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/packaging/debian/changelog ${BF_PACKAGING_DIR}/changelog @ONLY)
foreach(page brushfeather.6 changelog)
  add_custom_command(
    OUTPUT ${BF_PACKAGING_DIR}/${page}.gz
    COMMAND gzip -9 -n -c ${BF_PACKAGING_DIR}/${page} > ${BF_PACKAGING_DIR}/${page}.gz
    DEPENDS ${BF_PACKAGING_DIR}/${page}
    VERBATIM)
endforeach()
add_custom_target(bf_packaging ALL DEPENDS
  ${BF_PACKAGING_DIR}/icons/256x256/apps/${BF_APP_ID}.png ${BF_SHOT_DIR}/hunt.png
  ${BF_PACKAGING_DIR}/brushfeather.6.gz ${BF_PACKAGING_DIR}/changelog.gz)

# The install. Paths inside the game are relative (../share/brushfeather beside bin/), so any prefix works.
install(TARGETS brushfeather RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${BF_RUN_DIR}/ctrls.dll ${BF_RUN_DIR}/map1.dll ${BF_RUN_DIR}/map2.dll ${BF_RUN_DIR}/map3.dll
              ${BF_RUN_DIR}/goblers.dll ${BF_RUN_DIR}/map1.map
        DESTINATION ${CMAKE_INSTALL_DATADIR}/brushfeather)
install(FILES ${BF_SHOT_DIR}/title.png ${BF_SHOT_DIR}/setup.png ${BF_SHOT_DIR}/hunt.png ${BF_SHOT_DIR}/trophies.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/brushfeather/screenshots)
install(FILES ${BF_PACKAGING_DIR}/${BF_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${BF_PACKAGING_DIR}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${BF_PACKAGING_DIR}/brushfeather.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/debian/copyright ${BF_PACKAGING_DIR}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/brushfeather)
# The desktop entry names the installed program (see the script); written when the prefix is known.
install(CODE "
  set(BF_DESKTOP_TEMPLATE \"${CMAKE_SOURCE_DIR}/packaging/${BF_APP_ID}.desktop.in\")
  set(BF_DESKTOP_OUT \"${BF_PACKAGING_DIR}/${BF_APP_ID}.desktop\")
  set(BF_INSTALL_BINDIR \"${CMAKE_INSTALL_BINDIR}\")
  set(BF_INSTALL_DATADIR \"${CMAKE_INSTALL_DATADIR}\")")
install(SCRIPT ${CMAKE_SOURCE_DIR}/cmake/install_desktop_entry.cmake)

# The DEB: the same install under /usr, its dependencies found by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brushfeather)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "Brackwen Interactive <games@brackwen.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "first-person wild-turkey hunting game")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Pick one of five hunts, each a wild-turkey subspecies in its own
location, look around a 360-degree panorama, call the birds in, raise the
shotgun, aim and fire. The heaviest birds you bag go to the trophy room.")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The lettering is drawn with the Liberation fonts, looked up through fontconfig at run time.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
set(CPACK_STRIP_FILES ON)
# Debian keeps games in /usr/games: the package moves the program there (the art is found from it alike).
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/cmake/deb_games_dir.cmake)
include(CPack)
