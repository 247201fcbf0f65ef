#include "app/images/GreyBitmapPool.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <mutex>
#include <vector>

struct GreyBitmapPool::State {
    std::mutex mutex;
    std::vector<Buffer*> kept;
    size_t limit = 0;
    bool closed = false; // the run is over: buffers that come back are freed
};

struct GreyBitmapPool::Buffer {
    std::shared_ptr<State> owner;
    size_t capacity = 0;
    unsigned char* data = nullptr;

    ~Buffer() { std::free(data); }
};

namespace {

thread_local GreyBitmapPool* t_current = nullptr;

// A kept buffer serves a bitmap up to twice smaller than itself: the odd large card does not
// leave a large buffer behind for every small one.
bool fits(size_t capacity, size_t size)
{
    return capacity >= size && capacity / 2 <= size;
}

} // namespace

GreyBitmapPool::GreyBitmapPool(int kept) : m_state(std::make_shared<State>())
{
    m_state->limit = size_t(std::max(0, kept));
}

GreyBitmapPool::~GreyBitmapPool()
{
    std::vector<Buffer*> kept;
    {
        std::lock_guard lock(m_state->mutex);
        m_state->closed = true;
        kept.swap(m_state->kept);
    }
    for (Buffer* buffer : kept)
        delete buffer;
}

QImage GreyBitmapPool::greyImage(int width, int height)
{
    if (width <= 0 || height <= 0)
        return {};
    const qsizetype bytesPerLine = (qsizetype(width) + 3) & ~qsizetype(3);
    if (bytesPerLine > std::numeric_limits<qsizetype>::max() / height)
        return {};
    const size_t size = size_t(bytesPerLine) * size_t(height);
    Buffer* buffer = nullptr;
    {
        std::lock_guard lock(m_state->mutex);
        auto best = m_state->kept.end();
        for (auto it = m_state->kept.begin(); it != m_state->kept.end(); ++it) {
            if (fits((*it)->capacity, size) && (best == m_state->kept.end() || (*it)->capacity < (*best)->capacity))
                best = it;
        }
        if (best != m_state->kept.end()) {
            buffer = *best;
            m_state->kept.erase(best);
        }
    }
    if (!buffer) {
        auto* data = static_cast<unsigned char*>(std::malloc(size));
        if (!data)
            return {};
        buffer = new Buffer{m_state, size, data};
    }
    return QImage(buffer->data, width, height, bytesPerLine, QImage::Format_Grayscale8, bufferReleased, buffer);
}

int GreyBitmapPool::keptCount() const
{
    std::lock_guard lock(m_state->mutex);
    return int(m_state->kept.size());
}

void GreyBitmapPool::bufferReleased(void* info)
{
    auto* buffer = static_cast<Buffer*>(info);
    {
        State& state = *buffer->owner;
        std::lock_guard lock(state.mutex);
        if (!state.closed && state.kept.size() < state.limit) {
            state.kept.push_back(buffer);
            return;
        }
    }
    // Past the lock: the buffer may hold the last reference to the state.
    delete buffer;
}

GreyBitmapPool* GreyBitmapPool::current()
{
    return t_current;
}

GreyBitmapPool::Use::Use(GreyBitmapPool* pool) : m_previous(t_current)
{
    t_current = pool;
}

GreyBitmapPool::Use::~Use()
{
    t_current = m_previous;
}
