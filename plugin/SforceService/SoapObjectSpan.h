// The objects of a list field seen as T where they are held: nothing is copied, and the object
// holding the list must outlive the span. A list of objects holds only objects of the field's
// declared class (SoapObject keeps it so when it reads or sets the field), so each item is a T.
#pragma once

#include "plugin/SforceService/SoapValue.h"

#include <cstddef>
#include <iterator>

template <typename T>
class SoapObjectSpan {
public:
    class iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::shared_ptr<T>;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = std::shared_ptr<T>;

        iterator() = default;
        explicit iterator(const SoapValue* item) : m_item(item) {}
        std::shared_ptr<T> operator*() const { return std::static_pointer_cast<T>(m_item->object()); }
        iterator& operator++() { ++m_item; return *this; }
        iterator operator++(int) { return iterator(m_item++); }
        bool operator==(const iterator&) const = default;

    private:
        const SoapValue* m_item = nullptr;
    };

    explicit SoapObjectSpan(const SoapValue::List& items) : m_items(items) {}

    size_t size() const { return m_items.size(); }
    bool empty() const { return m_items.empty(); }
    std::shared_ptr<T> operator[](size_t index) const { return std::static_pointer_cast<T>(m_items[index].object()); }
    iterator begin() const { return iterator(m_items.data()); }
    iterator end() const { return iterator(m_items.data() + m_items.size()); }

private:
    const SoapValue::List& m_items;
};
