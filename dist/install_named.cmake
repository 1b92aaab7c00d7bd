# Run by cmake --install (and so by the package build): writes the launcher, the menu entry and
# the manual page with the installed paths in them, straight into the prefix (under DESTDIR
# when packaging), never back into the build.
get_filename_component(prefix "${CMAKE_INSTALL_PREFIX}" ABSOLUTE)
set(MUV_INSTALL_DATA "${prefix}/share/muvesecky")
set(MUV_INSTALL_BINARY "${prefix}/lib/muvesecky/muvesecky")
set(MUV_INSTALL_LAUNCHER "${prefix}/bin/muvesecky")

function(muv_install_named source target)
    set(dest "$ENV{DESTDIR}${prefix}/${target}")
    message(STATUS "Installing: ${dest}")
    configure_file("${MUV_DIST_SOURCE}/${source}" "${dest}" @ONLY ${ARGN})
    set(CMAKE_INSTALL_MANIFEST_FILES ${CMAKE_INSTALL_MANIFEST_FILES} "${prefix}/${target}"
        PARENT_SCOPE)
endfunction()

muv_install_named(muvesecky.in bin/muvesecky
    FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ
                     WORLD_EXECUTE)
muv_install_named(muvesecky.desktop.in share/applications/${MUV_APP_ID}.desktop
    NO_SOURCE_PERMISSIONS)

# Manual pages and changelogs are kept compressed; -n leaves the time out, so the same page
# gives the same file.
function(muv_compress target)
    set(file "$ENV{DESTDIR}${prefix}/${target}")
    execute_process(COMMAND gzip -9nf "${file}" RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "gzip could not compress ${file}")
    endif()
    list(REMOVE_ITEM CMAKE_INSTALL_MANIFEST_FILES "${prefix}/${target}")
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${prefix}/${target}.gz")
    set(CMAKE_INSTALL_MANIFEST_FILES ${CMAKE_INSTALL_MANIFEST_FILES} PARENT_SCOPE)
endfunction()

muv_install_named(muvesecky.6.in share/man/man6/muvesecky.6 NO_SOURCE_PERMISSIONS)
muv_compress(share/man/man6/muvesecky.6)
muv_install_named(changelog share/doc/muvesecky/changelog COPYONLY NO_SOURCE_PERMISSIONS)
muv_compress(share/doc/muvesecky/changelog)
