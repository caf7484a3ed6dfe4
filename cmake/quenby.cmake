# Helpers shared by the folders' CMakeLists.

set(QUENBY_WARNINGS -Wall -Wextra -Werror -Wno-unused-parameter)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  # GCC 12 at -O3 reports impossible overlaps inside std::string's own copies (a known false
  # positive of -Wrestrict), which would break the Release build used by the benchmarks.
  list(APPEND QUENBY_WARNINGS -Wno-restrict)
endif()
if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  set(QUENBY_CLANG ON)
else()
  set(QUENBY_CLANG OFF)
endif()

if(QUENBY_WIN)
  set(QUENBY_DEPS_PREFIX "$ENV{QUENBY_DEPS}")
  if(NOT QUENBY_DEPS_PREFIX)
    set(QUENBY_DEPS_PREFIX /opt/quenby-deps)
  endif()
  set(QUENBY_MINGW_PREFIX ${QUENBY_DEPS_PREFIX}/mingw)
  add_library(quenby_jpeg STATIC IMPORTED)
  set_target_properties(quenby_jpeg PROPERTIES
    IMPORTED_LOCATION ${QUENBY_MINGW_PREFIX}/lib/libjpeg.a
    INTERFACE_INCLUDE_DIRECTORIES ${QUENBY_MINGW_PREFIX}/include)
  add_library(quenby_gtest INTERFACE)
  target_include_directories(quenby_gtest INTERFACE ${QUENBY_MINGW_PREFIX}/include)
  target_link_libraries(quenby_gtest INTERFACE ${QUENBY_MINGW_PREFIX}/lib/libgmock.a ${QUENBY_MINGW_PREFIX}/lib/libgtest.a)
  # TLS for the test service only (the program itself uses the system's TLS).
  add_library(quenby_mbedtls INTERFACE)
  target_include_directories(quenby_mbedtls INTERFACE ${QUENBY_MINGW_PREFIX}/include)
  target_link_libraries(quenby_mbedtls INTERFACE ${QUENBY_MINGW_PREFIX}/lib/libmbedtls.a
    ${QUENBY_MINGW_PREFIX}/lib/libmbedx509.a ${QUENBY_MINGW_PREFIX}/lib/libmbedcrypto.a ws2_32 bcrypt advapi32)
  # One self-contained executable: the C and C++ runtimes and winpthreads are linked in.
  add_link_options(-static -static-libgcc -static-libstdc++)
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
  # A Release build (the published one, scripts/release.sh) is the same bytes from any checkout
  # at any time: no link time in the PE header, no symbols, no source or build paths (__FILE__).
  set(release_c $<AND:$<CONFIG:Release>,$<COMPILE_LANGUAGE:C,CXX>>)
  add_compile_options($<${release_c}:-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=>
                      $<${release_c}:-ffile-prefix-map=${PROJECT_BINARY_DIR}/=>)
  add_link_options($<$<CONFIG:Release>:-s> $<$<CONFIG:Release>:-Wl,--no-insert-timestamp>)
else()
  find_package(JPEG REQUIRED)
  add_library(quenby_jpeg INTERFACE)
  target_link_libraries(quenby_jpeg INTERFACE JPEG::JPEG)
  find_package(GTest REQUIRED)
  add_library(quenby_gtest INTERFACE)
  target_link_libraries(quenby_gtest INTERFACE GTest::gtest GTest::gmock)
  add_library(quenby_mbedtls INTERFACE)
  target_link_libraries(quenby_mbedtls INTERFACE mbedtls mbedx509 mbedcrypto)
  set(QUENBY_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  if(QUENBY_CLANG)
    # Coverage hooks for the fuzzers; harmless for the unit tests.
    list(APPEND QUENBY_SANITIZE -fsanitize=fuzzer-no-link)
  endif()
  add_compile_options(${QUENBY_SANITIZE})
  add_link_options(-fsanitize=address,undefined)
endif()

# The layers, lowest first, and the folders each may include. A layer's library sees only
# those folders (a private include tree of links under the build tree), so an include that
# leans upward does not build, and it links only the layers below it.
#
#   platform                      the system's error text, the executable, message pumps, the
#                                 worker-to-UI dispatcher, owners
#   imaging     -> platform       the picture, the JPEG codec, the thumbnail geometry
#   engine      -> imaging        the search job, page request and scan, fetcher, thumbnails
#   forms       -> imaging        windows and controls, knowing nothing of Quenby
#   settings    -> forms          the settings file and its rules, the options and filters dialogs
#   savedsearch -> settings       the saved search files and the chooser
#   info        -> forms          the About box, the version check
#   mainwindow  -> engine, savedsearch, info   the main window and every handler of it
#   app         -> mainwindow     the program entry
#   cli         -> engine, settings           the console front end (no window of its own)
set(QUENBY_LAYERS platform imaging engine forms settings savedsearch info mainwindow cli)
set(QUENBY_SEES_platform platform)
set(QUENBY_SEES_imaging platform imaging)
set(QUENBY_SEES_engine platform imaging engine)
set(QUENBY_SEES_forms platform imaging forms)
set(QUENBY_SEES_settings platform imaging forms settings)
set(QUENBY_SEES_savedsearch platform imaging forms settings savedsearch)
set(QUENBY_SEES_info platform imaging forms info)
set(QUENBY_SEES_mainwindow platform imaging engine forms settings savedsearch info mainwindow)
set(QUENBY_SEES_cli platform imaging engine settings cli)
set(QUENBY_SEES_app platform imaging engine forms settings savedsearch info mainwindow)

# Sources of a layer (default: the folder's own), portable ones built natively too:
#   quenby_sources([LAYER name] [PORTABLE files...] [WIN files...])
function(quenby_sources)
  cmake_parse_arguments(S "" "LAYER" "PORTABLE;WIN" ${ARGN})
  if(NOT S_LAYER)
    get_filename_component(S_LAYER ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  endif()
  set(files ${S_PORTABLE})
  if(QUENBY_WIN)
    list(APPEND files ${S_WIN})
  endif()
  foreach(f ${files})
    set_property(GLOBAL APPEND PROPERTY QUENBY_SRCS_${S_LAYER} ${CMAKE_CURRENT_SOURCE_DIR}/${f})
  endforeach()
endfunction()

# The include tree a layer compiles with: links to the folders it may see.
function(quenby_layer_includes target layer)
  set(root ${PROJECT_BINARY_DIR}/layers/${layer})
  # A build tree made before the layer lost sight of a folder keeps no link to it.
  file(GLOB present RELATIVE ${root} ${root}/*)
  foreach(folder ${present})
    if(NOT folder IN_LIST QUENBY_SEES_${layer})
      file(REMOVE ${root}/${folder})
    endif()
  endforeach()
  foreach(folder ${QUENBY_SEES_${layer}})
    if(NOT EXISTS ${root}/${folder})
      file(MAKE_DIRECTORY ${root})
      file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${folder} ${root}/${folder} SYMBOLIC)
    endif()
  endforeach()
  target_include_directories(${target} PRIVATE ${root})
endfunction()

function(quenby_make_libraries)
  set(below "")
  foreach(layer ${QUENBY_LAYERS})
    get_property(srcs GLOBAL PROPERTY QUENBY_SRCS_${layer})
    set(deps "")
    foreach(folder ${QUENBY_SEES_${layer}})
      if(NOT folder STREQUAL layer AND TARGET quenby_${folder})
        list(APPEND deps quenby_${folder})
      endif()
    endforeach()
    if(srcs)
      add_library(quenby_${layer} STATIC ${srcs})
      target_compile_options(quenby_${layer} PRIVATE ${QUENBY_WARNINGS})
      quenby_layer_includes(quenby_${layer} ${layer})
      target_link_libraries(quenby_${layer} PUBLIC ${deps})
    else()
      add_library(quenby_${layer} INTERFACE)
      target_link_libraries(quenby_${layer} INTERFACE ${deps})
    endif()
  endforeach()
  target_link_libraries(quenby_imaging PUBLIC quenby_jpeg)
  if(QUENBY_WIN)
    target_link_libraries(quenby_platform PUBLIC
      wininet urlmon ole32 oleaut32 uuid comctl32 comdlg32 shell32 shlwapi version gdi32 user32 ws2_32 bcrypt)
  endif()
  # Tests, benchmarks and tools see every layer.
  add_library(quenby_all INTERFACE)
  target_include_directories(quenby_all INTERFACE ${PROJECT_SOURCE_DIR}/src)
  foreach(layer ${QUENBY_LAYERS})
    target_link_libraries(quenby_all INTERFACE quenby_${layer})
  endforeach()
  if(QUENBY_WIN)
    get_property(appsrcs GLOBAL PROPERTY QUENBY_APP_SRCS)
    add_executable(Quenby WIN32 ${appsrcs})
    target_compile_options(Quenby PRIVATE ${QUENBY_WARNINGS})
    quenby_layer_includes(Quenby app)
    target_link_libraries(Quenby PRIVATE quenby_mainwindow)
    set_target_properties(Quenby PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bin)
  endif()
endfunction()

# Sources of Quenby.exe itself (the entry point and its resources).
function(quenby_app)
  foreach(f ${ARGN})
    set_property(GLOBAL APPEND PROPERTY QUENBY_APP_SRCS ${CMAKE_CURRENT_SOURCE_DIR}/${f})
  endforeach()
endfunction()

# A test executable. PORTABLE tests run natively and under Wine; WIN tests under Wine only.
#   quenby_test(NAME n [PORTABLE|WIN] SOURCES ... [LIBS ...])
function(quenby_test)
  cmake_parse_arguments(T "PORTABLE;WIN" "NAME" "SOURCES;LIBS" ${ARGN})
  if(T_WIN AND NOT QUENBY_WIN)
    return()
  endif()
  if(QUENBY_WIN AND NOT "${T_SOURCES}" MATCHES "quenby\\.rc")
    # The UTF-8 active code page of the program's own manifest (a test that links the program's
    # resources has that manifest already; two would not merge).
    list(APPEND T_SOURCES ${PROJECT_SOURCE_DIR}/tests/support/utf8.rc)
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  target_compile_options(${T_NAME} PRIVATE ${QUENBY_WARNINGS})
  target_link_libraries(${T_NAME} PRIVATE quenby_testsupport ${T_LIBS} quenby_gtest)
  target_link_libraries(${T_NAME} PRIVATE quenby_all)
  if(QUENBY_WIN)
    add_test(NAME ${T_NAME} COMMAND ${PROJECT_SOURCE_DIR}/tools/wine-test.sh $<TARGET_FILE:${T_NAME}>)
  else()
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  endif()
  set_tests_properties(${T_NAME} PROPERTIES TIMEOUT 300 ENVIRONMENT "QUENBY_BUILD_DIR=${PROJECT_BINARY_DIR}")
endfunction()

# A libFuzzer target over the portable code (native clang build only), run briefly by ctest
# over its corpus folder. A longer run: build/native/fuzz/NAME -max_total_time=600 CORPUS
function(quenby_fuzzer)
  cmake_parse_arguments(F "" "NAME;CORPUS;RUNS" "SOURCES" ${ARGN})
  if(QUENBY_WIN OR NOT QUENBY_CLANG)
    return()
  endif()
  if(NOT F_RUNS)
    set(F_RUNS 20000)
  endif()
  add_executable(${F_NAME} ${F_SOURCES})
  target_compile_options(${F_NAME} PRIVATE ${QUENBY_WARNINGS} -fsanitize=fuzzer)
  target_link_options(${F_NAME} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${F_NAME} PRIVATE quenby_all)
  set_target_properties(${F_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/fuzz)
  set(work ${PROJECT_BINARY_DIR}/fuzz/${F_NAME}.corpus)
  add_test(NAME ${F_NAME} COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=1
    sh -c "mkdir -p '${work}' && exec '$<TARGET_FILE:${F_NAME}>' -runs=${F_RUNS} -max_len=65536 -rss_limit_mb=1024 '${work}' '${F_CORPUS}'")
  set_tests_properties(${F_NAME} PROPERTIES TIMEOUT 300 LABELS fuzz)
endfunction()
