// One end of the connection to the OCR application: length-prefixed little-endian frames over a
// stream socket, each carrying an event (class, id, return id) and up to three keyword parameters.
// Frame: magic "PLAE" (request) or "PLAR" (reply), u32 length of the rest, class and id as four
// ASCII bytes each, u32 return id, u32 parameter count, then per parameter its four keyword bytes,
// a u32 length and the bytes.
#pragma once

#include <QByteArray>

#include <cstdint>
#include <sys/uio.h>
#include <utility>
#include <vector>

struct OcrMessage {
    uint32_t eventClass = 0;
    uint32_t eventId = 0;
    uint32_t returnId = 0;
    std::vector<std::pair<uint32_t, QByteArray>> params;

    // The parameter with `keyword`, or null.
    const QByteArray* param(uint32_t keyword) const;
};

class OcrChannel {
public:
    enum Result { Ok = 0, TimedOut, Closed, Malformed, IoError };

    static constexpr uint32_t kMaxFrameBytes = 64u << 20;
    static constexpr uint32_t kMaxParams = 3;

    explicit OcrChannel(int fd = -1) : m_fd(fd) {}
    ~OcrChannel();
    OcrChannel(const OcrChannel&) = delete;
    OcrChannel& operator=(const OcrChannel&) = delete;

    // A connected pair of stream sockets, both close-on-exec; false on failure.
    static bool socketPair(int fds[2]);

    int fd() const { return m_fd; }
    // Closed, or broken by an earlier failure: a late reply would now be out of step.
    bool isBroken() const { return m_fd < 0 || m_broken; }
    void close();

    // timeoutMs < 0 waits without limit.
    Result send(const OcrMessage& message, bool reply, int timeoutMs);
    Result receive(OcrMessage* message, bool reply, int timeoutMs);
    // A request and its reply, the time-out covering both.
    Result exchange(const OcrMessage& request, OcrMessage* reply, int timeoutMs);

    static QByteArray encode(const OcrMessage& message, bool reply);
    // Decodes the part of a frame after its eight-byte header.
    static bool decodeBody(const QByteArray& body, OcrMessage* message);

private:
    // Writes the parts in order as one stream (they are advanced as they go out).
    Result writeParts(std::vector<iovec>& parts, int64_t deadline);
    Result readAll(char* data, size_t size, int64_t deadline);
    Result fail(Result result);

    int m_fd;
    bool m_broken = false;
};
