#include "platform/foundation/NotificationCenter.h"

#include <algorithm>

NotificationCenter& NotificationCenter::defaultCenter()
{
    static NotificationCenter center;
    return center;
}

NotificationCenter::ObserverId NotificationCenter::addObserver(const void* owner, const QString& name, Handler handler, const void* object)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const ObserverId id = m_nextId++;
    m_entries.push_back({id, owner, name, object, std::make_shared<Handler>(std::move(handler))});
    return id;
}

void NotificationCenter::removeObserver(ObserverId id)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    std::erase_if(m_entries, [id](const Entry& e) { return e.id == id; });
}

void NotificationCenter::removeObserver(const void* owner, const QString& name)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    std::erase_if(m_entries, [&](const Entry& e) { return e.owner == owner && (name.isEmpty() || e.name == name); });
}

void NotificationCenter::post(const QString& name, const void* object, const QVariantMap& userInfo)
{
    post(Notification{name, object, userInfo});
}

void NotificationCenter::post(const Notification& notification)
{
    std::vector<std::pair<ObserverId, std::shared_ptr<Handler>>> targets;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (const Entry& e : m_entries) {
            if ((e.name.isEmpty() || e.name == notification.name) && (!e.object || e.object == notification.object))
                targets.emplace_back(e.id, e.handler);
        }
    }
    for (const auto& [id, handler] : targets) {
        bool stillObserving = false;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            stillObserving = std::any_of(m_entries.begin(), m_entries.end(), [id = id](const Entry& e) { return e.id == id; });
        }
        if (stillObserving)
            (*handler)(notification);
    }
}
