# Shared build settings: our warnings (errors in our own builds), optional sanitizers, and one
# way to declare libraries, programs, tests and benchmarks.

set(SW_WARNINGS -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast
    -Wcast-align -Woverloaded-virtual -Wnull-dereference -Wformat=2)
# build.sh turns this on, so every warning stops our own builds and CI. It is off by default:
# a packager's build with another compiler or optimisation level must not fail on that
# compiler's false positives, which it still prints.
if(SITEWARD_WERROR)
  list(APPEND SW_WARNINGS -Werror)
endif()

if(SITEWARD_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

function(sw_target_settings target)
  target_compile_options(${target} PRIVATE ${SW_WARNINGS})
  target_compile_definitions(${target} PRIVATE QT_NO_KEYWORDS)
endfunction()

# sw_library(name SOURCES ... LIBS ...): a static library of our own code.
function(sw_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  sw_target_settings(${name})
endfunction()

# sw_test(name SOURCES ... LIBS ...): a GoogleTest program registered with CTest. Tests run
# headless, in the C locale for numbers and in a fixed time zone, from the program's folder.
function(sw_test name)
  if(NOT SITEWARD_TESTS)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} sw_testsupport GTest::gtest GTest::gmock)
  sw_target_settings(${name})
  # The environment goes in through "cmake -E env": CMake 3.25's test discovery hands only the
  # first entry of an ENVIRONMENT list on to the tests it registers.
  set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR
    "${CMAKE_COMMAND};-E;env;QT_QPA_PLATFORM=offscreen;TZ=America/New_York;LC_ALL=C.UTF-8;SW_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${SW_RUNTIME_DIR}
    DISCOVERY_TIMEOUT 60)
endfunction()

# sw_benchmark(name SOURCES ... LIBS ...): a Google Benchmark program (never run by the tests).
function(sw_benchmark name)
  if(NOT SITEWARD_BENCHMARKS)
    return()
  endif()
  find_package(benchmark QUIET)
  if(NOT benchmark_FOUND)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark)
  sw_target_settings(${name})
endfunction()
