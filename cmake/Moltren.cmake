# moltren_library(<target> <dir> <deps...> [PRIVATE <deps...>]): a static library of every
# source in <dir> (not recursive); header-only directories become interface libraries so
# that dependents can still name them. Dependencies before PRIVATE are part of the
# library's interface and reach its dependents; those after it (Qt, system libraries)
# are linked but their headers stay inside the library.
function(moltren_library target dir)
  cmake_parse_arguments(PARSE_ARGV 2 _arg "" "" "PRIVATE")
  file(GLOB _srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
  list(FILTER _srcs EXCLUDE REGEX "/main\\.cpp$")
  if(_srcs)
    add_library(${target} STATIC ${_srcs})
    target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
    target_link_libraries(${target} PUBLIC ${_arg_UNPARSED_ARGUMENTS} PRIVATE ${_arg_PRIVATE})
    target_compile_options(${target} PRIVATE ${MOLTREN_WARNINGS})
    set_target_properties(${target} PROPERTIES AUTOMOC OFF)
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${CMAKE_SOURCE_DIR})
    target_link_libraries(${target} INTERFACE ${_arg_UNPARSED_ARGUMENTS})
  endif()
endfunction()

# moltren_tests(<name> <dir> [ON_X_SERVER] <deps...>): one GoogleTest executable of every
# source in tests/<dir>, registered test by test with CTest, and once more whole as
# <name>.Shuffled (see MOLTREN_SHUFFLE_SEED). ON_X_SERVER runs it (the
# listing of its tests too) on an Xvfb server of its own instead of the offscreen platform.
function(moltren_tests name dir)
  cmake_parse_arguments(PARSE_ARGV 2 _t "ON_X_SERVER" "" "")
  file(GLOB _srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${dir}/*.cpp)
  if(NOT _srcs)
    return()
  endif()
  add_executable(${name} ${_srcs})
  target_link_libraries(${name} PRIVATE ${_t_UNPARSED_ARGUMENTS} moltren_test_support GTest::gtest GTest::gmock)
  if(_t_ON_X_SERVER)
    set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tests/support/on-xvfb)
  endif()
  # g++ 12's flow-based bounds and string warnings misfire on the standard
  # library's inlined string code in test bodies (literal assignments, vectors
  # of strings), the more so as inlining shifts with the precompiled header;
  # product code keeps them.
  target_compile_options(${name} PRIVATE ${MOLTREN_WARNINGS})
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(${name} PRIVATE -Wno-array-bounds -Wno-stringop-overread -Wno-stringop-overflow
                                           -Wno-restrict)
  endif()
  if(MOLTREN_PCH)
    # The test framework's header is most of what a test file parses.
    target_precompile_headers(${name} PRIVATE <gtest/gtest.h> <functional> <memory> <string> <vector>)
  endif()
  # A table's rows are named by the rule each guards; CTest would add the row's printed
  # bytes (pointers among them) after that name, so a listing changed with every build.
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 NO_PRETTY_VALUES
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8" TIMEOUT 120)
  # The whole program once more as one process in a shuffled order, so that a test that
  # leans on what another left behind shows. The sanitized build runs each test alone only.
  if(NOT MOLTREN_ASAN)
    set(_run $<TARGET_FILE:${name}>)
    if(_t_ON_X_SERVER)
      set(_run ${CMAKE_SOURCE_DIR}/tests/support/on-xvfb ${_run})
    endif()
    add_test(NAME ${name}.Shuffled COMMAND ${_run} --gtest_shuffle --gtest_random_seed=${MOLTREN_SHUFFLE_SEED})
    set_tests_properties(${name}.Shuffled PROPERTIES
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8" TIMEOUT 600
      WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  endif()
endfunction()

# moltren_embed_resources(<target> <function> <files...>): a static library <target> that
# holds the bytes of the files and a function `void <function>()` (declared in the generated
# header "<target>.h") that registers them with RegisterResources (platform/core/resources.h).
# A file's resource name is its name up to the first dot and its kind the rest, so
# resources/TMainForm.frm.txt is the resource "TMainForm" of kind "frm.txt": form
# descriptions are object text in files named <form class>.frm.txt.
function(moltren_embed_resources target function)
  set(_cpp ${CMAKE_CURRENT_BINARY_DIR}/${target}/${target}.cpp)
  set(_h ${CMAKE_CURRENT_BINARY_DIR}/${target}/${target}.h)
  string(REPLACE ";" "|" _files "${ARGN}")
  add_custom_command(
    OUTPUT ${_cpp} ${_h}
    COMMAND ${CMAKE_COMMAND} -DOUTPUT_CPP=${_cpp} -DOUTPUT_H=${_h} -DFUNCTION=${function}
            -DFILES=${_files} -P ${CMAKE_SOURCE_DIR}/cmake/EmbedResources.cmake
    DEPENDS ${ARGN} ${CMAKE_SOURCE_DIR}/cmake/EmbedResources.cmake
    COMMENT "Embedding resources into ${target}"
    VERBATIM)
  add_library(${target} STATIC ${_cpp} ${_h})
  target_include_directories(${target} PUBLIC ${CMAKE_CURRENT_BINARY_DIR}/${target})
  target_link_libraries(${target} PUBLIC platform_core)
  target_compile_options(${target} PRIVATE ${MOLTREN_WARNINGS})
endfunction()
