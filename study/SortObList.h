#pragma once
// Sorting of record lists by their number texts.

// std
#include <algorithm>
#include <memory>
#include <utility>
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

/// The same order as SortObList with a compare that returns key(a) >= key(b): each key is
/// found once per element, not once per comparison.
template <class T, class Key>
void SortObListByKey(std::vector<std::unique_ptr<T>>* list, Key (*key)(const T*))
{
    if (!list || list->size() < 2 || !key)
        return;
    std::reverse(list->begin(), list->end());
    std::vector<std::pair<Key, std::unique_ptr<T>>> keyed;
    keyed.reserve(list->size());
    for (auto& item : *list) {
        const Key k = key(item.get());
        keyed.emplace_back(k, std::move(item));
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (size_t i = 0; i < keyed.size(); ++i)
        (*list)[i] = std::move(keyed[i].second);
}

/// The leading integer of the Series Number of `series`; 0 when none.
int SeriesNumberKey(const CSeriesInfo* series);
/// The leading integer of the Instance Number of `image`; 0 when none.
int InstanceNumberKey(const CImageInfo* image);

/// 1 when the Series Number of `a` (leading integer, 0 when none) is >= that of `b`, else 0.
int CompareSeriesNumber(const CSeriesInfo* a, const CSeriesInfo* b);
/// 1 when the Instance Number of `a` (leading integer, 0 when none) is >= that of `b`, else 0.
int CompareInstanceNumber(const CImageInfo* a, const CImageInfo* b);
