# CMake generated Testfile for 
# Source directory: /work/wt/images/platform/events
# Build directory: /work/wt/images/build-fuzz/platform/events
# 
# This file includes the relevant testing commands required for 
# testing this directory and lists subdirectories to be tested as well.
