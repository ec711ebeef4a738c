# Checks against the real products: JVM on Linux, the DLLs under Wine, the PE files.
set(DIST_DIR ${CMAKE_SOURCE_DIR}/dist)
