# Read by cpack before it makes the Debian package: the run-time libraries, read off the game
# by dpkg-shlibdeps, with the SDL 1.2 the game is built and tested on first.
#
# dpkg-shlibdeps names SDL 1.2 as libsdl1.2debian, which on a fresh system apt takes to be the
# classic SDL 1.2, not the SDL 1.2 over SDL 2 (libsdl1.2-compat-shim, which provides that name).
# So the game asks for the shim first, the classic library still acceptable; and the shim
# comes first of all, because apt settles the dependencies in their order and SDL_mixer's own
# need of libsdl1.2debian, met first, would bring the classic library after all.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
    return()
endif()
set(work "${CPACK_PACKAGE_DIRECTORY}/_CPack_Packages/shlibdeps")
file(REMOVE_RECURSE "${work}")
file(WRITE "${work}/debian/control" "") # dpkg-shlibdeps wants to be in a source package
execute_process(
    COMMAND dpkg-shlibdeps -O "${CPACK_MUV_GAME_BINARY}"
    WORKING_DIRECTORY "${work}"
    OUTPUT_VARIABLE found
    ERROR_VARIABLE complaint
    RESULT_VARIABLE failed
    OUTPUT_STRIP_TRAILING_WHITESPACE)
file(REMOVE_RECURSE "${work}")
if(failed)
    message(FATAL_ERROR "dpkg-shlibdeps could not read ${CPACK_MUV_GAME_BINARY}: ${complaint}")
endif()
string(REGEX REPLACE "^shlibs:Depends=" "" found "${found}")
string(REPLACE ", " ";" found "${found}")
set(sdl "")
set(others "")
foreach(library IN LISTS found)
    if(library MATCHES "^libsdl1\\.2debian( \\(.*\\))?$")
        set(sdl "libsdl1.2-compat-shim | ${library}")
    else()
        list(APPEND others "${library}")
    endif()
endforeach()
if(sdl STREQUAL "")
    message(FATAL_ERROR "dpkg-shlibdeps found no SDL 1.2 in ${CPACK_MUV_GAME_BINARY}: ${found}")
endif()
list(JOIN others ", " others)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${sdl}, ${others}")
