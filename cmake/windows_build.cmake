# Freestanding DLL: no C runtime, own entry point, kernel32 and shell32 only.
enable_language(RC)
file(GLOB WINDOWS_PLATFORM_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/windows/*.cpp)

add_library(tessal_jni SHARED ${CORE_SOURCES} ${WINDOWS_PLATFORM_SOURCES}
            ${CMAKE_SOURCE_DIR}/platform/windows/manifest.rc
            ${CMAKE_SOURCE_DIR}/platform/windows/exports_${TESSAL_WINDOWS_ARCH}.def)
add_dependencies(tessal_jni jni_header)
set_target_properties(tessal_jni PROPERTIES PREFIX "" OUTPUT_NAME tessal_jni)
target_include_directories(tessal_jni PRIVATE ${CMAKE_SOURCE_DIR} ${JNI_GEN_DIR}
                           ${CMAKE_SOURCE_DIR}/jni/win32 ${JDK_HOME}/include)
target_compile_options(tessal_jni PRIVATE
  $<$<COMPILE_LANGUAGE:CXX>:-ffreestanding -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables
  -fno-stack-protector -mno-stack-arg-probe -fno-builtin -Os -Wall -Wextra>)
if(TESSAL_WINDOWS_ARCH STREQUAL "x86")
  set(DLL_ENTRY _tessalDllEntry@12)
else()
  set(DLL_ENTRY tessalDllEntry)
endif()
target_link_options(tessal_jni PRIVATE -nostdlib -nostartfiles -s -Wl,--entry=${DLL_ENTRY}
                    -Wl,--exclude-all-symbols -Wl,--no-insert-timestamp)
target_link_libraries(tessal_jni PRIVATE kernel32 shell32)
set_property(SOURCE ${CMAKE_SOURCE_DIR}/platform/windows/manifest.rc APPEND PROPERTY
             OBJECT_DEPENDS ${CMAKE_SOURCE_DIR}/platform/windows/manifest.xml)

# Test programs: ordinary Windows executables, linked statically so Wine needs no extra DLLs.
file(GLOB WIN_HOST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win_host/*.cpp)
list(FILTER WIN_HOST_SOURCES EXCLUDE REGEX "marker_helper\\.cpp$")
add_executable(tessal_win_host ${WIN_HOST_SOURCES} ${CMAKE_SOURCE_DIR}/tests/fakes/strict_jni_env.cpp)
add_dependencies(tessal_win_host jni_header)
target_include_directories(tessal_win_host PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/jni/win32
                           ${JDK_HOME}/include)
target_link_options(tessal_win_host PRIVATE -static -municode)
target_link_libraries(tessal_win_host PRIVATE shell32)
if(EXISTS ${CMAKE_SOURCE_DIR}/tests/win_host/marker_helper.cpp)
  add_executable(tessal_marker_helper ${CMAKE_SOURCE_DIR}/tests/win_host/marker_helper.cpp)
  target_link_options(tessal_marker_helper PRIVATE -static)
endif()

add_executable(tessal_demo ${CMAKE_SOURCE_DIR}/tests/demo/demo_main.cpp ${CMAKE_SOURCE_DIR}/tests/fakes/strict_jni_env.cpp)
target_include_directories(tessal_demo PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/jni/win32 ${JDK_HOME}/include)
target_link_options(tessal_demo PRIVATE -static)

# findExecutable benchmark: prints median times under Wine; not a test.
add_executable(tessal_find_bench ${CMAKE_SOURCE_DIR}/tests/bench/find_bench.cpp ${CMAKE_SOURCE_DIR}/tests/fakes/strict_jni_env.cpp)
target_include_directories(tessal_find_bench PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/jni/win32 ${JDK_HOME}/include)
target_link_options(tessal_find_bench PRIVATE -static)
target_link_libraries(tessal_find_bench PRIVATE shell32)
