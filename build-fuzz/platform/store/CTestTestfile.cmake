# CMake generated Testfile for 
# Source directory: /work/wt/images/platform/store
# Build directory: /work/wt/images/build-fuzz/platform/store
# 
# This file includes the relevant testing commands required for 
# testing this directory and lists subdirectories to be tested as well.
