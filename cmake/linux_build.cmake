# Linux library, unit tests (plain and sanitized), JVM tests and the Wine/PE checks.
find_package(PkgConfig REQUIRED)
pkg_check_modules(GIO REQUIRED IMPORTED_TARGET gio-2.0)
file(GLOB LINUX_PLATFORM_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/linux/*.cpp)
set(JDK_INCLUDES ${JDK_HOME}/include ${JDK_HOME}/include/linux)

add_library(tessal_jni SHARED ${CORE_SOURCES} ${LINUX_PLATFORM_SOURCES})
add_dependencies(tessal_jni jni_header)
target_include_directories(tessal_jni PRIVATE ${CMAKE_SOURCE_DIR} ${JNI_GEN_DIR} ${JDK_INCLUDES})
target_compile_options(tessal_jni PRIVATE -fvisibility=hidden -fno-exceptions -fno-rtti -Wall -Wextra)
target_link_options(tessal_jni PRIVATE -Wl,--no-undefined -Wl,--exclude-libs,ALL)
target_link_libraries(tessal_jni PRIVATE PkgConfig::GIO)

# Java classes as a jar
set(TESSAL_JAR ${CMAKE_BINARY_DIR}/tessal-jni.jar)
add_custom_command(OUTPUT ${TESSAL_JAR}
  COMMAND ${JDK_HOME}/bin/jar cf ${TESSAL_JAR} -C ${JAVA_CLASSES_DIR} tessal
  DEPENDS ${JNI_GEN_DIR}/tessal_jni_JNIManager.h)
add_custom_target(tessal_jar ALL DEPENDS ${TESSAL_JAR})

include(cmake/tests.cmake)
