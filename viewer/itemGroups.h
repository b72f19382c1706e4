// Things drawn together because they lie close together, so that a frame
// decides per group, not per thing, whether it can show and how much detail
// it needs.
//
//   groupItems     reorders `items` so that those whose centres fall in the
//                  same cube of kGroupCell units are consecutive, and returns
//                  one group per cube with a sphere holding all its items.
//   boundingSphere a sphere holding every given sphere.
#pragma once

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <vector>

#include "viewGeometry.h"

constexpr float kGroupCell = 32.0f;

struct ItemGroup {
    size_t first;   // index of the group's first item
    size_t count;   // its number of items
    Sphere bounds;  // holds every item of the group
};

// The key of the cube a point lies in.
uint64_t groupCellKey(const Point3D& p);
Sphere boundingSphere(const std::vector<Sphere>& spheres);

// BoundsOf(item) gives the item's Sphere.
template <class Item, class BoundsOf>
std::vector<ItemGroup> groupItems(std::vector<Item>* items, BoundsOf boundsOf) {
    std::vector<uint64_t> keys(items->size());
    for (size_t i = 0; i < items->size(); ++i) keys[i] = groupCellKey(boundsOf((*items)[i]).centre);
    std::vector<size_t> order(items->size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&keys](size_t a, size_t b) { return keys[a] < keys[b]; });
    std::vector<Item> sorted;
    sorted.reserve(items->size());
    for (size_t i : order) sorted.push_back((*items)[i]);
    items->swap(sorted);

    std::vector<ItemGroup> groups;
    std::vector<Sphere> members;
    for (size_t i = 0; i < order.size(); ++i) {
        members.push_back(boundsOf((*items)[i]));
        const bool last = i + 1 == order.size() || keys[order[i + 1]] != keys[order[i]];
        if (!last) continue;
        groups.push_back({i + 1 - members.size(), members.size(), boundingSphere(members)});
        members.clear();
    }
    return groups;
}
