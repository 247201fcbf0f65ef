# CMake generated Testfile for 
# Source directory: /work/wt/images/outside/ocr
# Build directory: /work/wt/images/build-fuzz/outside/ocr
# 
# This file includes the relevant testing commands required for 
# testing this directory and lists subdirectories to be tested as well.
