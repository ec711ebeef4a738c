enable_testing()
find_package(GTest REQUIRED)
find_package(Threads REQUIRED)

file(GLOB UNIT_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
set(FAKE_SOURCES ${CMAKE_SOURCE_DIR}/tests/fakes/fake_win_calls.cpp
                 ${CMAKE_SOURCE_DIR}/tests/fakes/strict_jni_env.cpp)

# The workers and entries against the fake platform, once plain and once
# with AddressSanitizer and UndefinedBehaviorSanitizer.
foreach(variant plain sanitized)
  set(target unit_tests_${variant})
  add_executable(${target} ${UNIT_TEST_SOURCES} ${CORE_SOURCES} ${FAKE_SOURCES}
                 ${CMAKE_SOURCE_DIR}/platform/linux/command_line_split.cpp)
  add_dependencies(${target} jni_header)
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR} ${JNI_GEN_DIR} ${JDK_INCLUDES})
  target_link_libraries(${target} PRIVATE GTest::gtest_main Threads::Threads)
  if(variant STREQUAL "sanitized")
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer
                           -fno-sanitize-recover=undefined -O1 -g)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
  add_test(NAME ${target} COMMAND ${target})
endforeach()
set_tests_properties(unit_tests_sanitized PROPERTIES ENVIRONMENT "ASAN_OPTIONS=detect_leaks=1")

# Real-host checks live in their own file so each can grow without touching this one.
include(${CMAKE_SOURCE_DIR}/cmake/host_tests.cmake)
