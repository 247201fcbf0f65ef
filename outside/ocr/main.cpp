// Quillant: the OCR application that Pelmora starts as its child. It serves requests on the
// socket handed over as "--socket-fd N" and quits on the quit event or when the socket closes.
#include "outside/ocr/QuillantServer.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>

int main(int argc, char** argv)
{
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
