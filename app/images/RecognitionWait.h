// How the main thread waits for work of a recognition run that other threads do (decoding cards,
// exchanges with the OCR applications): its event loop keeps running in a modal run that takes
// no user input and holds the delayed calls, as it would behind a sheet, so the processing sheet
// paints and its indicator moves. Other threads wait plainly.
#pragma once

#include <functional>

// Waits until `done` answers true; it is asked again after every wakeRecognitionWaiters.
void waitForRecognitionWork(const std::function<bool()>& done);
// Called from any thread once something a waiter may be waiting for has happened.
void wakeRecognitionWaiters();
