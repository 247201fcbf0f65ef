platform/workspace/platform_workspace_autogen/timestamp: \
  /work/wt/images/platform/workspace/CMakeLists.txt \
  /work/wt/images/platform/workspace/DesktopEntry.cpp \
  /work/wt/images/platform/workspace/DesktopEntry.h \
  /work/wt/images/platform/workspace/Workspace.cpp \
  /work/wt/images/platform/workspace/Workspace.h \
  /usr/bin/cmake
