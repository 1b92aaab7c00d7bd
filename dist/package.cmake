# The Debian package: cmake --build BUILD --target package  ->  BUILD/muvesecky_VERSION_ARCH.deb
# It holds what cmake --install puts under /usr (see dist/CMakeLists.txt).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME muvesecky)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Muvesecky maintainers")
set(CPACK_PACKAGE_CONTACT
    "Muvesecky maintainers <maintainers@users.noreply.c-seed-e8e24d3d.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "ten first-person labyrinths against the clock")
set(CPACK_PACKAGE_DESCRIPTION
    "Muvesecky is a first-person maze game with an Italian interface. Ten labyrinths
are walked one cell or one quarter turn per key press, the corridor ahead drawn
in perspective with straight lines on a 640 x 200, 16-colour screen. Each must
be left through its exit before its time runs out, in real minutes of the
computer's clock.")
# The launcher is written with its installed paths, so the package is staged with DESTDIR and
# the install sees /usr itself as its prefix.
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX ${CPACK_PACKAGING_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${MUV_HOMEPAGE})
# The run-time libraries are read off the game itself by dpkg-shlibdeps, in
# package_depends.cmake, which puts the SDL 1.2 we test on first.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS OFF)
get_target_property(MUV_GAME_DIR muvesecky RUNTIME_OUTPUT_DIRECTORY)
set(CPACK_MUV_GAME_BINARY ${MUV_GAME_DIR}/muvesecky)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/package_depends.cmake)

include(CPack)
