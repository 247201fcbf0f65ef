# CMake generated Testfile for 
# Source directory: /work/wt/images/fuzz/core
# Build directory: /work/wt/images/build-fuzz/fuzz/core
# 
# This file includes the relevant testing commands required for 
# testing this directory and lists subdirectories to be tested as well.
