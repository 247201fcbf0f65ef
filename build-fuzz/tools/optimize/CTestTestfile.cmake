# CMake generated Testfile for 
# Source directory: /work/wt/images/tools/optimize
# Build directory: /work/wt/images/build-fuzz/tools/optimize
# 
# This file includes the relevant testing commands required for 
# testing this directory and lists subdirectories to be tested as well.
