# CMake generated Testfile for 
# Source directory: /work/wt/images/app/images
# Build directory: /work/wt/images/build-fuzz/app/images
# 
# This file includes the relevant testing commands required for 
# testing this directory and lists subdirectories to be tested as well.
