#pragma once
// The one sort of the program. Every list and every plain sequence sorted with a compare function
// goes through this routine: it fixes where items that compare equal end up, and calculation
// results depend on that, so it must not be replaced by std::sort.
#include <utility>
#include <vector>

namespace lintaro {

// Sorts positions l..r of data in place; compare(a, b) < 0 puts a before b.
template <class T, class Compare> void QuickSortRange(T* data, int l, int r, Compare&& compare) {
    do {
        int i = l;
        int j = r;
        const T pivot = data[(l + r) >> 1];
        do {
            while (compare(data[i], pivot) < 0)
                ++i;
            while (compare(data[j], pivot) > 0)
                --j;
            if (i <= j) {
                std::swap(data[i], data[j]);
                ++i;
                --j;
            }
        } while (i <= j);
        if (l < j)
            QuickSortRange(data, l, j, compare);
        l = i;
    } while (l < r);
}

// Sorts a whole sequence; an empty one is left alone.
template <class T, class Compare> void QuickSort(std::vector<T>& items, Compare&& compare) {
    if (!items.empty())
        QuickSortRange(items.data(), 0, static_cast<int>(items.size()) - 1, compare);
}

} // namespace lintaro
