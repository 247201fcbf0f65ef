# CMake generated Testfile for 
# Source directory: /work/wt/images/tests/tools/dbtools
# Build directory: /work/wt/images/build-fuzz/tests/tools/dbtools
# 
# This file includes the relevant testing commands required for 
# testing this directory and lists subdirectories to be tested as well.
add_test([=[test_tools_dbtools]=] "/work/wt/images/build-fuzz/tests/tools/dbtools/test_tools_dbtools")
set_tests_properties([=[test_tools_dbtools]=] PROPERTIES  ENVIRONMENT "QT_QPA_PLATFORM=offscreen;PELMORA_SOURCE_DIR=/work/wt/images;PELMORA_STAGE_DIR=/work/wt/images/build-fuzz/stage" TIMEOUT "900" _BACKTRACE_TRIPLES "/work/wt/images/cmake/Pelmora.cmake;27;add_test;/work/wt/images/tests/tools/dbtools/CMakeLists.txt;1;pelmora_test;/work/wt/images/tests/tools/dbtools/CMakeLists.txt;0;")
