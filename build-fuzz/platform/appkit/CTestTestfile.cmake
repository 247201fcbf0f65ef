# CMake generated Testfile for 
# Source directory: /work/wt/images/platform/appkit
# Build directory: /work/wt/images/build-fuzz/platform/appkit
# 
# This file includes the relevant testing commands required for 
# testing this directory and lists subdirectories to be tested as well.
