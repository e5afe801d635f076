#pragma once

#include <algorithm>
#include <vector>

namespace vortexa {

// Names one element of a window: which of its element kinds, and the index in that kind's array
// (0 for single elements).
struct ElementRef {
    int kind = 0;
    int index = 0;
    friend bool operator==(const ElementRef&, const ElementRef&) = default;
};

// The order in which a window's elements are drawn, back first.
class DrawingOrder {
public:
    void add(ElementRef element)
    {
        remove(element);
        m_order.push_back(element);
    }

    // A new element of an array is drawn just above the elements of its array that exist already,
    // so that elements of another kind designed above them (labels over shapes) stay on top.
    void addToItsArray(ElementRef element)
    {
        remove(element);
        const auto lastOfKind = std::find_if(
            m_order.rbegin(), m_order.rend(), [&](const ElementRef& other) { return other.kind == element.kind; });
        m_order.insert(lastOfKind.base(), element);
    }

    void sendToBack(ElementRef element)
    {
        remove(element);
        m_order.insert(m_order.begin(), element);
    }

    const std::vector<ElementRef>& backToFront() const { return m_order; }

private:
    void remove(ElementRef element) { std::erase(m_order, element); }

    std::vector<ElementRef> m_order;
};

} // namespace vortexa
