// How the main thread waits for work of a recognition run that other threads do (decoding cards,
// exchanges with the OCR applications): its event loop keeps running in a modal run that holds
// the delayed calls, as it would behind a sheet, so the processing sheet paints and its indicator
// moves. It takes no user input but a request to quit, which goes to the quit handler: the run is
// finished first, so the cards read so far are kept. Other threads wait plainly.
#pragma once

#include <functional>

class QWindow;

// Waits until `done` answers true; it is asked again after every wakeRecognitionWaiters.
void waitForRecognitionWork(const std::function<bool()>& done);
// Called from any thread once something a waiter may be waiting for has happened.
void wakeRecognitionWaiters();

// Told of a request to quit that comes while the main thread waits: the Quit keys (`window`
// null) or a window closed by the user. It answers whether the request was taken as a quit; a
// window whose closing is not one is closed once no modal run is open. One handler at a time, set
// by its owner; a null handler removes the owner's. Without one no request is taken.
void setRecognitionQuitHandler(const void* owner, std::function<bool(QWindow* window)> handler);
