// Installs the dialog presenter, panels and printing as the application's services. Every program
// that shows windows calls it once at start-up, after making its QApplication.
#pragma once

void installDialogServices();
