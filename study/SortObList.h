#pragma once
// Sorting of record lists by their number texts.

// std
#include <algorithm>
#include <memory>
#include <vector>

class CImageInfo;
class CSeriesInfo;

/// Sorts `list` in place with `compare` (earlier element, element being placed), which returns
/// a positive value when the earlier element must go behind. Gives what an insertion sort
/// moving each element in front of every earlier one that compares positive gives: ascending
/// order, elements that compare equal in the reverse of their order before the sort. Done as
/// a stable sort of the reversed list, so it stays O(n log n). The records themselves do not
/// move: pointers to them stay valid.
template <class T>
void SortObList(std::vector<std::unique_ptr<T>>* list, int (*compare)(const T*, const T*))
{
    if (!list || list->size() < 2 || !compare)
        return;
    std::reverse(list->begin(), list->end());
    std::stable_sort(list->begin(), list->end(),
                     [compare](const std::unique_ptr<T>& a, const std::unique_ptr<T>& b) { return compare(a.get(), b.get()) <= 0; });
}

/// 1 when the Series Number of `a` (leading integer, 0 when none) is >= that of `b`, else 0.
int CompareSeriesNumber(const CSeriesInfo* a, const CSeriesInfo* b);
/// 1 when the Instance Number of `a` (leading integer, 0 when none) is >= that of `b`, else 0.
int CompareInstanceNumber(const CImageInfo* a, const CImageInfo* b);
