// Bad: a tool uses the application.
  #  include "app/core/PLChecker.h"
