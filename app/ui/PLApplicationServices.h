// The application delegate's services filled with the real card image, recognition and database
// functions.
#pragma once

#include "app/core/PLAppServices.h"

PLAppServices makeApplicationServices();
