// Notifications keyed by name, delivered synchronously on the posting thread.
// Observers may add or remove observers (themselves included) during delivery.
#pragma once

#include <QString>
#include <QVariantMap>

#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

struct Notification {
    QString name;
    const void* object = nullptr;
    QVariantMap userInfo;
};

class NotificationCenter {
public:
    using Handler = std::function<void(const Notification&)>;
    using ObserverId = uint64_t;

    static NotificationCenter& defaultCenter();

    // `name` empty observes every name; `object` non-null observes only that sender.
    ObserverId addObserver(const void* owner, const QString& name, Handler handler, const void* object = nullptr);
    void removeObserver(ObserverId id);
    // Removes every observation `owner` holds (optionally only for one name).
    void removeObserver(const void* owner, const QString& name = QString());

    void post(const QString& name, const void* object = nullptr, const QVariantMap& userInfo = {});
    void post(const Notification& notification);

private:
    struct Entry {
        ObserverId id;
        const void* owner;
        QString name;
        const void* object;
        std::shared_ptr<Handler> handler;
    };
    std::mutex m_mutex;
    std::vector<Entry> m_entries;
    ObserverId m_nextId = 1;
};
