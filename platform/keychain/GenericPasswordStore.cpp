// libsecret first: its GLib headers use names that Qt's headers define as macros.
#include <libsecret/secret.h>

#include "platform/keychain/GenericPasswordStore.h"

namespace {

// Our own schema, so that the items are found by what we stored and by nothing else.
const SecretSchema* schema()
{
    static const SecretSchema s = {
        "com.orvane.zor.GenericPassword",
        SECRET_SCHEMA_NONE,
        {
            {"label", SECRET_SCHEMA_ATTRIBUTE_STRING},
            {"account", SECRET_SCHEMA_ATTRIBUTE_STRING},
            {nullptr, SECRET_SCHEMA_ATTRIBUTE_STRING},
        },
        0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    };
    return &s;
}

int statusOf(GError* error)
{
    const int status = error->domain == SECRET_ERROR ? kKeychainAuthFailed : kKeychainNotAvailable;
    g_error_free(error);
    return status;
}

GHashTable* attributes(const QString& label, const QString& account)
{
    GHashTable* table = g_hash_table_new_full(g_str_hash, g_str_equal, g_free, g_free);
    g_hash_table_insert(table, g_strdup("label"), g_strdup(label.toUtf8().constData()));
    if (!account.isNull())
        g_hash_table_insert(table, g_strdup("account"), g_strdup(account.toUtf8().constData()));
    return table;
}

}

int GenericPasswordStore::find(const QString& label, std::vector<GenericPasswordItem>& items)
{
    items.clear();
    GError* error = nullptr;
    GHashTable* query = attributes(label, QString());
    const auto flags = SecretSearchFlags(SECRET_SEARCH_ALL | SECRET_SEARCH_UNLOCK | SECRET_SEARCH_LOAD_SECRETS);
    GList* found = secret_password_searchv_sync(schema(), query, flags, nullptr, &error);
    g_hash_table_unref(query);
    if (error)
        return statusOf(error);
    int status = kKeychainSuccess;
    for (GList* node = found; node; node = node->next) {
        auto* retrievable = SECRET_RETRIEVABLE(node->data);
        SecretValue* value = secret_retrievable_retrieve_secret_sync(retrievable, nullptr, &error);
        if (error) {
            status = statusOf(error);
            error = nullptr;
            continue;
        }
        GenericPasswordItem item;
        item.label = label;
        GHashTable* stored = secret_retrievable_get_attributes(retrievable);
        item.account = QString::fromUtf8(static_cast<const char*>(g_hash_table_lookup(stored, "account")));
        g_hash_table_unref(stored);
        if (value) {
            gsize length = 0;
            const gchar* bytes = secret_value_get(value, &length);
            item.data = QByteArray(bytes, qsizetype(length));
            secret_value_unref(value);
        }
        items.push_back(std::move(item));
    }
    g_list_free_full(found, g_object_unref);
    if (status != kKeychainSuccess)
        return status;
    return items.empty() ? kKeychainItemNotFound : kKeychainSuccess;
}

int GenericPasswordStore::add(const GenericPasswordItem& item)
{
    GError* error = nullptr;
    GHashTable* table = attributes(item.label, item.account.isNull() ? QStringLiteral("") : item.account);
    SecretValue* value = secret_value_new(item.data.constData(), item.data.size(), "text/plain");
    secret_password_storev_binary_sync(schema(), table, SECRET_COLLECTION_DEFAULT, item.label.toUtf8().constData(), value,
        nullptr, &error);
    secret_value_unref(value);
    g_hash_table_unref(table);
    return error ? statusOf(error) : kKeychainSuccess;
}

int GenericPasswordStore::remove(const QString& label, const QString& account)
{
    GError* error = nullptr;
    GHashTable* table = attributes(label, account);
    secret_password_clearv_sync(schema(), table, nullptr, &error);
    g_hash_table_unref(table);
    return error ? statusOf(error) : kKeychainSuccess;
}
