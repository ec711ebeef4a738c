# JUnit 5 tests in a real JVM with -Xcheck:jni against the Linux library.
add_test(NAME jvm_tests
  COMMAND ${CMAKE_SOURCE_DIR}/tests/jvm/run_jvm_tests.sh ${JDK_HOME} ${JAVA_CLASSES_DIR}
          $<TARGET_FILE:tessal_jni> ${CMAKE_BINARY_DIR}/jvm-tests)
set_tests_properties(jvm_tests PROPERTIES TIMEOUT 900)
