# Checks against the real products: JVM on Linux, the DLLs under Wine, the PE files.
set(DIST_DIR ${CMAKE_SOURCE_DIR}/dist CACHE PATH "where the build leaves the products")
set(TESSAL_X86_BUILD ${CMAKE_SOURCE_DIR}/build/x86 CACHE PATH "x86 DLL build tree")
set(TESSAL_X64_BUILD ${CMAKE_SOURCE_DIR}/build/x64 CACHE PATH "x64 DLL build tree")
set(WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
find_program(SYSTEM_PYTHON python3 PATHS /usr/bin NO_DEFAULT_PATH)

add_test(NAME pe_check
  COMMAND ${SYSTEM_PYTHON} ${CMAKE_SOURCE_DIR}/tests/pe/check_pe.py
          ${DIST_DIR}/x86/tessal_jni.dll ${DIST_DIR}/x64/tessal_jni.dll)

add_test(NAME wine_prefix
  COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/prepare_prefix.sh ${WINE_PREFIX} ${TESSAL_X64_BUILD}/tessal_marker_helper.exe)
set_tests_properties(wine_prefix PROPERTIES FIXTURES_SETUP wine TIMEOUT 900)

# isvista: Wine set to Windows 7 must answer 1, set to Windows 10 must answer 0.
add_test(NAME wine_x86_win7
  COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/run_host.sh ${WINE_PREFIX} ${TESSAL_X86_BUILD}
          ${DIST_DIR}/x86/tessal_jni.dll win7 1)
add_test(NAME wine_x64_win10
  COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/run_host.sh ${WINE_PREFIX} ${TESSAL_X64_BUILD}
          ${DIST_DIR}/x64/tessal_jni.dll win10 0)
add_test(NAME wine_x64_win7
  COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/run_host.sh ${WINE_PREFIX} ${TESSAL_X64_BUILD}
          ${DIST_DIR}/x64/tessal_jni.dll win7 1)
set_tests_properties(wine_x86_win7 wine_x64_win10 wine_x64_win7 PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 1200)
set_tests_properties(wine_x64_win7 PROPERTIES ENVIRONMENT "TESSAL_HOST_ONLY=int")
# Under 32-bit emulation the long concurrency cases are left to the x64 run.
set_tests_properties(wine_x86_win7 PROPERTIES ENVIRONMENT "TESSAL_HOST_LIGHT=1")

include(${CMAKE_SOURCE_DIR}/cmake/jvm_tests.cmake)
