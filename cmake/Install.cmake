# The program folder a player unpacks, as install() rules, and the release
# archive made from them by CPack:
#
#   cmake --build build --target release        build/wayloom-<version>-linux-<arch>.tar.gz
#   cmake --install build --prefix DIR --strip  the same folder in DIR
#
# The folder holds the four programs a player runs, Data/ (language and
# history texts), the demo world's campaign folders, README.txt and the
# license. Developer tools and test harnesses stay in build/bin/.

# The updater's windows carry the program icon too (Wayloom's executable
# lists the icon resources itself).
if(TARGET Update)
  target_sources(Update PRIVATE "${CMAKE_SOURCE_DIR}/packaging/icons.qrc")
endif()

set(wayloom_release_programs "")
foreach(program Wayloom Update wayloom-check krbtool)
  if(TARGET ${program})
    list(APPEND wayloom_release_programs ${program})
  endif()
endforeach()

# Qt comes from the system's library folders: an installed copy carries no
# RPATH, so nothing points back into the build tree.
set_target_properties(${wayloom_release_programs} PROPERTIES INSTALL_RPATH "")
# The linker's build id is a digest over the debug information too, which
# names the build's folders; without it the stripped programs are the same
# bytes from any build folder.
foreach(program IN LISTS wayloom_release_programs)
  target_link_options(${program} PRIVATE "LINKER:--build-id=none")
endforeach()
install(TARGETS ${wayloom_release_programs} RUNTIME DESTINATION .)

# The demo world as its generator wrote it (never the build's program folder,
# whose Personal/, Options.txt and updated files are the developer's own).
install(DIRECTORY "${WAYLOOM_RELEASE_WORLD}/" DESTINATION .)
install(FILES "${CMAKE_SOURCE_DIR}/packaging/README.txt" "${CMAKE_SOURCE_DIR}/LICENSE" DESTINATION .)

set(CPACK_PACKAGE_NAME "wayloom")
set(CPACK_PACKAGE_VENDOR "The Wayloom developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Region maps of Shardrealm with the places a player hunts for")
set(CPACK_PACKAGE_VERSION "${WAYLOOM_VERSION}")
set(CPACK_PACKAGE_FILE_NAME "${WAYLOOM_RELEASE_NAME}")
set(CPACK_GENERATOR "TGZ")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY "${CMAKE_BINARY_DIR}")
set(CPACK_RESOURCE_FILE_LICENSE "${CMAKE_SOURCE_DIR}/LICENSE")
# Same sources, same bytes: the archive is packed again in name order with
# fixed times and owners (see the script).
set(CPACK_POST_BUILD_SCRIPTS "${CMAKE_SOURCE_DIR}/cmake/NormalizeArchive.cmake")
# Packing must not build every test and benchmark first: the release target
# below names what the archive needs.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
include(CPack)

add_custom_target(release
  COMMAND "${CMAKE_CPACK_COMMAND}" --config "${CMAKE_BINARY_DIR}/CPackConfig.cmake" -B "${CMAKE_BINARY_DIR}"
  WORKING_DIRECTORY "${CMAKE_BINARY_DIR}"
  COMMENT "Packing ${WAYLOOM_RELEASE_NAME}.tar.gz"
  VERBATIM)
add_dependencies(release ${wayloom_release_programs} demoworld)
