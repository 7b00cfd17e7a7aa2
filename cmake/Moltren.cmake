# moltren_library(<target> <dir> <deps...>): a static library of every source in <dir>
# (not recursive); header-only directories become interface libraries so that
# dependents can still name them.
function(moltren_library target dir)
  file(GLOB _srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
  list(FILTER _srcs EXCLUDE REGEX "/main\\.cpp$")
  if(_srcs)
    add_library(${target} STATIC ${_srcs})
    target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
    target_link_libraries(${target} PUBLIC ${ARGN})
    target_compile_options(${target} PRIVATE ${MOLTREN_WARNINGS})
    set_target_properties(${target} PROPERTIES AUTOMOC OFF)
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${CMAKE_SOURCE_DIR})
    target_link_libraries(${target} INTERFACE ${ARGN})
  endif()
endfunction()

# moltren_tests(<name> <dir> <deps...>): one GoogleTest executable of every source in
# tests/<dir>, registered test by test with CTest.
function(moltren_tests name dir)
  file(GLOB _srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${dir}/*.cpp)
  if(NOT _srcs)
    return()
  endif()
  add_executable(${name} ${_srcs})
  target_link_libraries(${name} PRIVATE ${ARGN} moltren_test_support GTest::gtest GTest::gmock)
  target_compile_options(${name} PRIVATE ${MOLTREN_WARNINGS})
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8" TIMEOUT 120)
endfunction()
