# CMake generated Testfile for 
# Source directory: /work/wt/images/platform/foundation
# Build directory: /work/wt/images/build-fuzz/platform/foundation
# 
# This file includes the relevant testing commands required for 
# testing this directory and lists subdirectories to be tested as well.
