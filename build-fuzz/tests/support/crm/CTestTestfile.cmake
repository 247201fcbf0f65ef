# CMake generated Testfile for 
# Source directory: /work/wt/images/tests/support/crm
# Build directory: /work/wt/images/build-fuzz/tests/support/crm
# 
# This file includes the relevant testing commands required for 
# testing this directory and lists subdirectories to be tested as well.
