#include "platform/events/OcrChannel.h"

#include "platform/events/OcrProtocol.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <vector>
#include <poll.h>
#include <sys/socket.h>
#include <sys/uio.h>
#include <unistd.h>

namespace {

constexpr char kRequestMagic[4] = {'P', 'L', 'A', 'E'};
constexpr char kReplyMagic[4] = {'P', 'L', 'A', 'R'};
constexpr size_t kHeaderBytes = 8;

int64_t nowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

int64_t deadlineFor(int timeoutMs) { return timeoutMs < 0 ? -1 : nowMs() + timeoutMs; }

// The poll time-out left until `deadline`; -1 without limit.
int remaining(int64_t deadline)
{
    if (deadline < 0)
        return -1;
    const int64_t left = deadline - nowMs();
    return left <= 0 ? 0 : int(std::min<int64_t>(left, 1 << 30));
}

void appendCode(QByteArray& out, uint32_t code)
{
    const char bytes[4] = {char(code >> 24), char(code >> 16), char(code >> 8), char(code)};
    out.append(bytes, 4);
}

void appendU32(QByteArray& out, uint32_t value)
{
    uint8_t bytes[4];
    ocr::writeU32(bytes, value);
    out.append(reinterpret_cast<const char*>(bytes), 4);
}

uint32_t codeAt(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }

// Reads a frame's body of `size` bytes through `read(data, n)`, which answers Ok with the next
// n bytes in `data` or why it could not. Each parameter's bytes are read straight into the
// parameter: a card bitmap or a result block is never read whole and then copied out again.
template <typename Read> OcrChannel::Result readBody(size_t size, OcrMessage* message, Read read)
{
    uint8_t fixed[16];
    if (size < sizeof fixed)
        return OcrChannel::Malformed;
    if (const OcrChannel::Result r = read(fixed, sizeof fixed))
        return r;
    message->eventClass = codeAt(fixed);
    message->eventId = codeAt(fixed + 4);
    message->returnId = ocr::readU32(fixed + 8);
    const uint32_t count = ocr::readU32(fixed + 12);
    if (count > OcrChannel::kMaxParams)
        return OcrChannel::Malformed;
    message->params.clear();
    size_t left = size - sizeof fixed;
    for (uint32_t i = 0; i < count; ++i) {
        uint8_t head[8];
        if (left < sizeof head)
            return OcrChannel::Malformed;
        if (const OcrChannel::Result r = read(head, sizeof head))
            return r;
        left -= sizeof head;
        const uint32_t length = ocr::readU32(head + 4);
        if (length > left)
            return OcrChannel::Malformed;
        QByteArray bytes(qsizetype(length), Qt::Uninitialized);
        if (const OcrChannel::Result r = read(bytes.data(), length))
            return r;
        left -= length;
        message->params.emplace_back(codeAt(head), std::move(bytes));
    }
    return left == 0 ? OcrChannel::Ok : OcrChannel::Malformed;
}

} // namespace

const QByteArray* OcrMessage::param(uint32_t keyword) const
{
    for (const auto& [key, bytes] : params) {
        if (key == keyword)
            return &bytes;
    }
    return nullptr;
}

OcrChannel::~OcrChannel() { close(); }

bool OcrChannel::socketPair(int fds[2])
{
    return ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) == 0;
}

void OcrChannel::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

OcrChannel::Result OcrChannel::fail(Result result)
{
    m_broken = true;
    return result;
}

QByteArray OcrChannel::encode(const OcrMessage& message, bool reply)
{
    QByteArray body;
    appendCode(body, message.eventClass);
    appendCode(body, message.eventId);
    appendU32(body, message.returnId);
    appendU32(body, uint32_t(message.params.size()));
    for (const auto& [key, bytes] : message.params) {
        appendCode(body, key);
        appendU32(body, uint32_t(bytes.size()));
        body.append(bytes);
    }
    QByteArray frame(reply ? kReplyMagic : kRequestMagic, 4);
    appendU32(frame, uint32_t(body.size()));
    return frame + body;
}

bool OcrChannel::decodeBody(const QByteArray& body, OcrMessage* message)
{
    qsizetype at = 0;
    // readBody asks for no more than `size` bytes in all.
    auto read = [&body, &at](void* data, size_t n) {
        std::memcpy(data, body.constData() + at, n);
        at += qsizetype(n);
        return Ok;
    };
    return readBody(size_t(body.size()), message, read) == Ok;
}

OcrChannel::Result OcrChannel::writeParts(std::vector<iovec>& parts, int64_t deadline)
{
    size_t first = 0;
    while (first < parts.size()) {
        pollfd pfd{m_fd, POLLOUT, 0};
        const int ready = ::poll(&pfd, 1, remaining(deadline));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0)
            return fail(IoError);
        if (ready == 0)
            return fail(TimedOut);
        msghdr message{};
        message.msg_iov = parts.data() + first;
        message.msg_iovlen = std::min<size_t>(parts.size() - first, IOV_MAX);
        ssize_t n = ::sendmsg(m_fd, &message, MSG_NOSIGNAL);
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (n < 0)
            return fail(errno == EPIPE || errno == ECONNRESET ? Closed : IoError);
        while (n > 0 && first < parts.size()) {
            iovec& part = parts[first];
            const size_t taken = std::min(size_t(n), part.iov_len);
            part.iov_base = static_cast<char*>(part.iov_base) + taken;
            part.iov_len -= taken;
            n -= ssize_t(taken);
            if (part.iov_len == 0)
                ++first;
        }
        while (first < parts.size() && parts[first].iov_len == 0)
            ++first;
    }
    return Ok;
}

OcrChannel::Result OcrChannel::readAll(char* data, size_t size, int64_t deadline)
{
    while (size > 0) {
        pollfd pfd{m_fd, POLLIN, 0};
        const int ready = ::poll(&pfd, 1, remaining(deadline));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0)
            return fail(IoError);
        if (ready == 0)
            return fail(TimedOut);
        const ssize_t n = ::recv(m_fd, data, size, 0);
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (n < 0)
            return fail(errno == ECONNRESET ? Closed : IoError);
        if (n == 0)
            return fail(Closed);
        data += n;
        size -= size_t(n);
    }
    return Ok;
}

OcrChannel::Result OcrChannel::send(const OcrMessage& message, bool reply, int timeoutMs)
{
    if (isBroken())
        return Closed;
    // The small fixed parts of the frame are written here; the parameters' bytes (a card bitmap
    // among them) go out from where they are, without being joined into one buffer.
    size_t bodySize = 16;
    for (const auto& [key, bytes] : message.params)
        bodySize += 8 + size_t(bytes.size());
    if (bodySize > kMaxFrameBytes)
        return Malformed;
    QByteArray head(reply ? kReplyMagic : kRequestMagic, 4);
    appendU32(head, uint32_t(bodySize));
    appendCode(head, message.eventClass);
    appendCode(head, message.eventId);
    appendU32(head, message.returnId);
    appendU32(head, uint32_t(message.params.size()));
    QByteArray keys;
    for (const auto& [key, bytes] : message.params) {
        appendCode(keys, key);
        appendU32(keys, uint32_t(bytes.size()));
    }
    std::vector<iovec> parts;
    parts.push_back({head.data(), size_t(head.size())});
    qsizetype at = 0;
    for (const auto& [key, bytes] : message.params) {
        parts.push_back({keys.data() + at, 8});
        at += 8;
        if (!bytes.isEmpty())
            parts.push_back({const_cast<char*>(bytes.constData()), size_t(bytes.size())});
    }
    return writeParts(parts, deadlineFor(timeoutMs));
}

OcrChannel::Result OcrChannel::receive(OcrMessage* message, bool reply, int timeoutMs)
{
    if (isBroken())
        return Closed;
    const int64_t deadline = deadlineFor(timeoutMs);
    char header[kHeaderBytes];
    if (const Result r = readAll(header, kHeaderBytes, deadline))
        return r;
    const uint32_t length = ocr::readU32(reinterpret_cast<const uint8_t*>(header) + 4);
    if (std::memcmp(header, reply ? kReplyMagic : kRequestMagic, 4) != 0 || length > kMaxFrameBytes)
        return fail(Malformed);
    const Result r =
        readBody(length, message, [this, deadline](void* data, size_t n) { return readAll(static_cast<char*>(data), n, deadline); });
    return r == Malformed ? fail(Malformed) : r;
}

OcrChannel::Result OcrChannel::exchange(const OcrMessage& request, OcrMessage* reply, int timeoutMs)
{
    const int64_t deadline = deadlineFor(timeoutMs);
    if (const Result r = send(request, false, timeoutMs))
        return r;
    const int left = deadline < 0 ? -1 : std::max(remaining(deadline), 0);
    const Result r = receive(reply, true, left);
    if (r == Ok && reply->returnId != request.returnId)
        return fail(Malformed);
    return r;
}
