# The browser build (emcmake cmake): the game and its browser back end, linked into
# muvesecky.js / .wasm / .data beside the page. Emscripten's own C library only: none of its
# downloaded ports, no SDL. Included by the top CMakeLists.txt when EMSCRIPTEN is set.

# The pictures and music (and the shipped "sound.cop" and "LEVEL.MGS") packed with the page,
# made by a native build's tools (scripts/web.sh puts them here).
set(MUV_WEB_DATA_DIR ${CMAKE_BINARY_DIR}/gamedata CACHE PATH "The game folder packed with the page")
# Where the page is put together: the program, its data and the files of web/.
set(MUV_WEB_SITE_DIR ${CMAKE_BINARY_DIR}/site)

# One thread: the services' atomics need no library.
add_library(Threads::Threads INTERFACE IMPORTED)
# The game's end and its refusals travel as C++ exceptions.
add_compile_options(-fexceptions)
add_link_options(-fexceptions)

configure_file(data/version.h.in ${CMAKE_BINARY_DIR}/generated/data/version.h @ONLY)
include_directories(${CMAKE_BINARY_DIR}/generated)

# The link of the browser program: Asyncify lets the game's sleeps give the page's thread
# back to the browser; the game folder is packed at /data; IDBFS keeps the player's files.
function(muv_web_program target)
    file(GLOB data_files CONFIGURE_DEPENDS ${MUV_WEB_DATA_DIR}/*)
    file(GLOB page_files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/web/*.html
         ${PROJECT_SOURCE_DIR}/web/*.js ${PROJECT_SOURCE_DIR}/web/*.css)
    target_link_options(${target} PRIVATE
        -sASYNCIFY -sASYNCIFY_STACK_SIZE=131072
        -sALLOW_MEMORY_GROWTH -sINITIAL_MEMORY=33554432 -sTOTAL_STACK=1048576
        -sENVIRONMENT=web -sFORCE_FILESYSTEM -lidbfs.js
        -sEXIT_RUNTIME=0 -sINVOKE_RUN=1
        --preload-file ${MUV_WEB_DATA_DIR}@/data)
    set_target_properties(${target} PROPERTIES
        SUFFIX .js
        RUNTIME_OUTPUT_DIRECTORY ${MUV_WEB_SITE_DIR}
        LINK_DEPENDS "${data_files}")
    # The page's own files beside the program, at every build.
    add_custom_target(${target}_page ALL
        COMMAND ${CMAKE_COMMAND} -E make_directory ${MUV_WEB_SITE_DIR}
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${page_files} ${MUV_WEB_SITE_DIR}
        VERBATIM)
endfunction()

# The number table (how numbers print and read back) checked again in the browser's own C
# library, under Node.js, with a small stand-in for GoogleTest (tests/web/run.sh runs it).
function(muv_web_node_tests)
    add_executable(muv_web_tests ${PROJECT_SOURCE_DIR}/tests/test_number_text.cpp
                   ${PROJECT_SOURCE_DIR}/tests/web/shim/run_tests.cpp)
    target_include_directories(muv_web_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests/web/shim)
    target_compile_definitions(muv_web_tests PRIVATE MUV_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
    target_link_libraries(muv_web_tests PRIVATE muv_common)
    target_link_options(muv_web_tests PRIVATE -sENVIRONMENT=node -sNODERAWFS -sSINGLE_FILE
                        -sEXIT_RUNTIME)
    set_target_properties(muv_web_tests PROPERTIES SUFFIX .js)
endfunction()

add_subdirectory(data)
add_subdirectory(services)
add_subdirectory(core)
add_subdirectory(game)
add_subdirectory(view)
add_subdirectory(screens)
muv_web_node_tests()

# One corridor frame of level 10 in WebAssembly (bench/web_frame.mjs runs it in Chromium).
add_executable(web_frame ${PROJECT_SOURCE_DIR}/bench/web_frame.cpp)
target_compile_options(web_frame PRIVATE ${MUV_WARNINGS})
target_link_libraries(web_frame PRIVATE muv_game muv_view muv_screens)
target_link_options(web_frame PRIVATE -sALLOW_MEMORY_GROWTH -sENVIRONMENT=web -sFORCE_FILESYSTEM
    -sEXIT_RUNTIME=1 --preload-file ${MUV_WEB_DATA_DIR}/alber.grh@/data/alber.grh)
set_target_properties(web_frame PROPERTIES EXCLUDE_FROM_ALL ON SUFFIX .js RUNTIME_OUTPUT_DIRECTORY
    ${CMAKE_BINARY_DIR}/bench)
