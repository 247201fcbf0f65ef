platform/appkit/platform_appkit_autogen/timestamp: \
  /work/wt/images/platform/appkit/ApplicationWindow.cpp \
  /work/wt/images/platform/appkit/ApplicationWindow.h \
  /work/wt/images/platform/appkit/CMakeLists.txt \
  /work/wt/images/platform/appkit/Clock.cpp \
  /work/wt/images/platform/appkit/Clock.h \
  /work/wt/images/platform/appkit/MessagePresenter.cpp \
  /work/wt/images/platform/appkit/MessagePresenter.h \
  /work/wt/images/platform/appkit/ModalScope.cpp \
  /work/wt/images/platform/appkit/ModalScope.h \
  /work/wt/images/platform/appkit/Scheduler.cpp \
  /work/wt/images/platform/appkit/Scheduler.h \
  /usr/bin/cmake
