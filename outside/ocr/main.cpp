// Quillant: the OCR application that Pelmora starts as its child. It serves requests on the
// socket handed over as "--socket-fd N" and quits on the quit event or when the socket closes.
#include "outside/ocr/QuillantServer.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Tesseract's OpenMP threads spin while they wait; on a busy machine several of them make one
// card take minutes. One thread per card is settled before the OpenMP runtime starts, by
// starting again with the limits in the environment.
void limitEngineThreads(char** argv)
{
    if (std::getenv("OMP_THREAD_LIMIT"))
        return;
    ::setenv("OMP_THREAD_LIMIT", "1", 1);
    ::setenv("OMP_WAIT_POLICY", "PASSIVE", 0);
    ::execv("/proc/self/exe", argv);
}

} // namespace

int main(int argc, char** argv)
{
    limitEngineThreads(argv);
    int fd = -1;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--socket-fd") == 0)
            fd = std::atoi(argv[i + 1]);
    }
    if (fd < 0 || ::fcntl(fd, F_GETFD) < 0) {
        std::fprintf(stderr, "Quillant: started without its socket (--socket-fd N)\n");
        return 2;
    }
    ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    OcrChannel channel(fd);
    QuillantServer server;
    server.serve(channel);
    return 0;
}
