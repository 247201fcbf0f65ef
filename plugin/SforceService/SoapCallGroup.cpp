#include "plugin/SforceService/SoapCallGroup.h"

#include "plugin/SforceService/SoapBinding.h"

#include <algorithm>
#include <utility>

namespace {

thread_local std::shared_ptr<SoapCallGroup> t_current;

}

SoapCallGroup::Scope::Scope(std::shared_ptr<SoapCallGroup> group) : m_previous(std::exchange(t_current, std::move(group)))
{
}

SoapCallGroup::Scope::~Scope()
{
    t_current = std::move(m_previous);
}

std::shared_ptr<SoapCallGroup> SoapCallGroup::current()
{
    return t_current;
}

void SoapCallGroup::join(const std::shared_ptr<SoapBinding>& binding)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    std::erase_if(m_calls, [](const std::weak_ptr<SoapBinding>& call) { return call.expired(); });
    m_calls.push_back(binding);
    if (m_cancelled)
        binding->cancel();
}

void SoapCallGroup::cancel()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_cancelled = true;
    for (const auto& call : m_calls) {
        if (const auto binding = call.lock())
            binding->cancel();
    }
}
