// Marks a modal run of the application (a waiting alert or sheet, a file panel, a modal window).
// While any scope is open, the scheduler holds the delayed calls that come due and runs them
// once the last scope has closed, as the platform's run loop does not fire them inside a modal run.
// Main thread only.
#pragma once

class ModalScope {
public:
    ModalScope();
    ~ModalScope();
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

    static int depth();
    static bool isOpen() { return depth() > 0; }
};
