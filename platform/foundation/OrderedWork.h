// One piece of work for each of `count` items, done on a few threads of its own ahead of a caller
// that takes the results one by one in the items' order: the caller waits only for what is not
// done yet, and the threads keep at most `ahead` items past the last one taken.
#pragma once

#include <algorithm>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

template <typename T>
class OrderedWork {
public:
    OrderedWork(size_t count, int threads, size_t ahead, std::function<T(size_t)> work)
        : m_work(std::move(work)), m_ahead(std::max<size_t>(1, ahead)), m_results(count), m_taken(count, 0)
    {
        const size_t started = std::min(count, size_t(std::max(1, threads)));
        for (size_t i = 0; i < started; ++i)
            m_threads.emplace_back([this] { run(); });
    }
    ~OrderedWork() { finish(); }
    OrderedWork(const OrderedWork&) = delete;
    OrderedWork& operator=(const OrderedWork&) = delete;

    // The result of item `index`, once it is done; each is taken once.
    T take(size_t index)
    {
        std::unique_lock lock(m_mutex);
        m_taken[index] = 1;
        m_taking = std::max(m_taking, index);
        m_moved.notify_all();
        m_moved.wait(lock, [&] { return m_results[index].has_value(); });
        T result = std::move(*m_results[index]);
        m_results[index].reset();
        return result;
    }

    // Starts no further item and waits for those under way; answers the results done but never
    // taken, for the caller to undo what they did.
    std::vector<T> finish()
    {
        {
            std::lock_guard lock(m_mutex);
            m_stopping = true;
        }
        m_moved.notify_all();
        for (std::thread& thread : m_threads)
            thread.join();
        m_threads.clear();
        std::vector<T> untaken;
        for (size_t i = 0; i < m_results.size(); ++i) {
            if (!m_taken[i] && m_results[i])
                untaken.push_back(std::move(*m_results[i]));
            m_results[i].reset();
        }
        return untaken;
    }

private:
    void run()
    {
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_moved.wait(lock, [&] { return m_stopping || m_next >= m_results.size() || m_next <= m_taking + m_ahead; });
            if (m_stopping || m_next >= m_results.size())
                return;
            const size_t index = m_next++;
            lock.unlock();
            T result = m_work(index);
            lock.lock();
            m_results[index] = std::move(result);
            m_moved.notify_all();
        }
    }

    const std::function<T(size_t)> m_work;
    const size_t m_ahead;
    std::mutex m_mutex;
    std::condition_variable m_moved; // a result is in, one is taken, or the work stops
    size_t m_next = 0; // the next item a thread takes up
    size_t m_taking = 0; // the furthest item the caller has asked for
    bool m_stopping = false;
    std::vector<std::optional<T>> m_results;
    std::vector<char> m_taken;
    std::vector<std::thread> m_threads;
};
