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

if(SITEWARD_TSAN)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()

if(SITEWARD_FUZZ)
  # Everything the fuzz targets link is built for coverage-guided fuzzing with the sanitizers.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
    -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
  add_custom_target(sw_fuzz_targets)
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

# sw_test(name SOURCES ... LIBS ... [LABELS ...]): a GoogleTest program registered with CTest.
# Tests run headless, in the C locale for numbers and in a fixed time zone, from the program's
# folder. The label "threaded" marks the programs that exercise code running on several
# threads: the ThreadSanitizer build runs those (ctest -L threaded).
function(sw_test name)
  if(NOT SITEWARD_TESTS)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} sw_testsupport GTest::gtest GTest::gmock)
  sw_target_settings(${name})
  # The environment goes in through "cmake -E env": CMake 3.25's test discovery hands only the
  # first entry of an ENVIRONMENT list on to the tests it registers.
  set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR
    "${CMAKE_COMMAND};-E;env;QT_QPA_PLATFORM=offscreen;TZ=America/New_York;LC_ALL=C.UTF-8;SW_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
  set(properties)
  if(ARG_LABELS)
    set(properties PROPERTIES LABELS "${ARG_LABELS}")
  endif()
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${SW_RUNTIME_DIR}
    DISCOVERY_TIMEOUT 60
    ${properties})
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

# sw_fuzz_target(name SOURCES ... LIBS ... CORPUS folder): a libFuzzer program over a parser of
# outside files, built only in the fuzzing build (SITEWARD_FUZZ=ON with clang; ./build.sh test
# makes it in build/fuzz and runs every such target for a bounded time, see
# scripts/run-fuzz.sh). To add one beside the code it exercises:
#   1. write NAME.cpp defining
#        extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
#      that feeds the bytes to the parser and calls std::abort() where a result breaks a rule
#      the parser promises (crashes and sanitizer reports fail the run by themselves);
#   2. put a few small, valid inputs in a folder of the repository, one file each (the seed
#      corpus; what a run finds stays in build/fuzz);
#   3. call sw_fuzz_target(NAME SOURCES NAME.cpp LIBS <libraries> CORPUS <that folder>) in the
#      subsystem's CMakeLists.txt.
function(sw_fuzz_target name)
  if(NOT SITEWARD_FUZZ)
    return()
  endif()
  cmake_parse_arguments(ARG "" "CORPUS" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  sw_target_settings(${name})
  set_target_properties(${name} PROPERTIES AUTOMOC OFF)
  add_dependencies(sw_fuzz_targets ${name})
  set_property(GLOBAL APPEND PROPERTY SW_FUZZ_TARGETS
    "${name}=${CMAKE_CURRENT_SOURCE_DIR}/${ARG_CORPUS}")
endfunction()
