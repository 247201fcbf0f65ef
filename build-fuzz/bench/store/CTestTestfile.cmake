# CMake generated Testfile for 
# Source directory: /work/wt/images/bench/store
# Build directory: /work/wt/images/build-fuzz/bench/store
# 
# This file includes the relevant testing commands required for 
# testing this directory and lists subdirectories to be tested as well.
