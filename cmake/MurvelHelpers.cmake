# Folders take part in the build as soon as they hold a CMakeLists.txt.
function(murvel_add_optional_subdirectory dir)
  if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
    add_subdirectory(${dir})
  endif()
endfunction()

# Every child folder with a CMakeLists.txt, in name order.
function(murvel_add_child_directories)
  file(GLOB children LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(child IN LISTS children)
    if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${child} AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()

# murvel_add_test(NAME SOURCES a.cpp b.cpp LIBRARIES x y [ENVIRONMENT "A=1;B=2"])
# One GoogleTest binary with the shared main() (QApplication, offscreen
# unless QT_QPA_PLATFORM asks for another platform, a fresh XDG_CONFIG_HOME),
# each test registered with ctest on its own. The platform is left to the
# caller so that the same suite runs under a real X server too.
function(murvel_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBRARIES;ENVIRONMENT" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(${name} PRIVATE test_support ${T_LIBRARIES})
  # Every run goes through the wrapper, which can give it a display of its
  # own, started by env with the test's environment: a list-valued
  # ENVIRONMENT property would not survive test discovery whole.
  set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR
    "env;SDL_AUDIODRIVER=dummy;${T_ENVIRONMENT};${CMAKE_SOURCE_DIR}/tests/support/on_own_display.sh")
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/tests
    DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT 300)
endfunction()
