# Shared build rules: warnings for our own code, sanitizer builds, and the
# test registration every test directory uses.

set(SORVELLA_WARNINGS -Wall -Wextra -Werror -Wno-missing-field-initializers)
# GCC 12 at -O3 reports -Wrestrict and -Wstringop-overflow inside libstdc++'s
# own std::string and std::vector code (known false positives); they stay
# warnings there so that a Release build compiles.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  list(APPEND SORVELLA_WARNINGS -Wno-error=restrict -Wno-error=stringop-overflow)
endif()

if(SORVELLA_SANITIZE STREQUAL "address")
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
elseif(SORVELLA_SANITIZE STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
elseif(NOT SORVELLA_SANITIZE STREQUAL "")
  message(FATAL_ERROR "SORVELLA_SANITIZE must be empty, address or thread")
endif()

# sorvella_library(name SOURCES ... [PUBLIC_DEPS ...] [PRIVATE_DEPS ...])
function(sorvella_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC_DEPS;PRIVATE_DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_compile_options(${name} PRIVATE ${SORVELLA_WARNINGS})
  target_link_libraries(${name} PUBLIC ${ARG_PUBLIC_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
endfunction()

# The program loads its modules (the FFmpeg writer, liblame_enc.so) from its
# own folder, build/app; tests and benchmarks find them there through their
# run path. An old-style one (DT_RPATH): it also holds for a dlopen that a
# sanitizer's interceptor makes on the executable's behalf, a DT_RUNPATH does not.
function(sorvella_finds_program_modules target)
  set_property(TARGET ${target} APPEND PROPERTY BUILD_RPATH ${PROJECT_BINARY_DIR}/app)
  target_link_options(${target} PRIVATE -Wl,--disable-new-dtags)
  add_dependencies(${target} sorvella_ffmpeg_media)
endfunction()

# sorvella_test(name SOURCES ... LIBS ... [TIMEOUT s] [LABELS ...] [RESOURCE_LOCK lock])
# Every test case runs as its own process (see tests/support/TestMain.cpp for
# its private temporary and configuration directories) with a timeout, so a
# test waiting on a device or a window can never hang the run.
function(sorvella_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT;RESOURCE_LOCK" "SOURCES;LIBS;LABELS" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_compile_options(${name} PRIVATE ${SORVELLA_WARNINGS})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} sorvella_test_support GTest::gtest GTest::gmock)
  sorvella_finds_program_modules(${name})
  # Widgets tests draw offscreen: no test may need a display or block on a window.
  set(props TIMEOUT ${ARG_TIMEOUT} ENVIRONMENT QT_QPA_PLATFORM=offscreen)
  if(ARG_LABELS)
    list(APPEND props LABELS "${ARG_LABELS}")
  endif()
  if(ARG_RESOURCE_LOCK)
    list(APPEND props RESOURCE_LOCK ${ARG_RESOURCE_LOCK})
  endif()
  # The ThreadSanitizer build compiles only what the tests labelled "threaded" need.
  if("threaded" IN_LIST ARG_LABELS)
    if(NOT TARGET sorvella_threaded_tests)
      add_custom_target(sorvella_threaded_tests)
    endif()
    add_dependencies(sorvella_threaded_tests ${name})
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60 PROPERTIES ${props})
endfunction()
