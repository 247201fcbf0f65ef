# CMake generated Testfile for 
# Source directory: /work/wt/images/outside/separation
# Build directory: /work/wt/images/build-fuzz/outside/separation
# 
# This file includes the relevant testing commands required for 
# testing this directory and lists subdirectories to be tested as well.
