#pragma once

#include "platform/dao/Error.h"

#include <QString>
#include <map>

namespace platform {

// A control array: the old index to the control, holes allowed (btn 0, 3, 4). Reading a missing index
// fails at once with the old platform's error 340.
template <class T>
class ControlArray {
public:
    using Map = std::map<int, T*>;

    T* operator()(int index) const
    {
        auto it = items.find(index);
        if (it == items.end())
            throw dao::Error(340, QStringLiteral("Control array element '%1' doesn't exist").arg(index));
        return it->second;
    }
    T* operator[](int index) const { return (*this)(index); }
    void add(int index, T* control) { items[index] = control; }
    bool contains(int index) const { return items.count(index) != 0; }
    int Count() const { return static_cast<int>(items.size()); }
    int LBound() const { return items.empty() ? 0 : items.begin()->first; }
    int UBound() const { return items.empty() ? -1 : items.rbegin()->first; }
    // The index of a control of the array, -1 when it is none of them.
    int indexOf(const T* control) const
    {
        for (const auto& [i, c] : items)
            if (c == control)
                return i;
        return -1;
    }
    typename Map::const_iterator begin() const { return items.begin(); }
    typename Map::const_iterator end() const { return items.end(); }

private:
    Map items;
};

}  // namespace platform
