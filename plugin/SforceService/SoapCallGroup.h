// Calls the user can end together: those started on a thread while a Scope of the group lives there
// (the calls a waiting window stands for). Cancelling the group ends its calls in flight at once with
// the "cancelled" error, and a call started in it afterwards ends so without being sent: what the
// cancelled wait was still to ask goes unasked, and no answer of it comes later.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

class SoapBinding;

class SoapCallGroup {
public:
    class Scope {
    public:
        explicit Scope(std::shared_ptr<SoapCallGroup> group);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        std::shared_ptr<SoapCallGroup> m_previous;
    };

    void cancel();
    bool isCancelled() const { return m_cancelled; }

    // The group of the innermost scope on this thread, or null.
    static std::shared_ptr<SoapCallGroup> current();
    // `binding`'s call belongs to the group; a call joining a cancelled group is cancelled at once.
    void join(const std::shared_ptr<SoapBinding>& binding);

private:
    std::mutex m_mutex;
    std::vector<std::weak_ptr<SoapBinding>> m_calls;
    std::atomic_bool m_cancelled = false;
};
