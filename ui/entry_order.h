// The one order in which every view shows entries: by name ignoring letter case, then by name,
// then by id, so that names equal but for case stand alike in the tree and in the lists.
#pragma once
#include <vector>

class CAppInfo;

// Below 0 when `a` comes first, above 0 when `b` does, 0 only for the same name and id.
int CompareInShownOrder(const CAppInfo& a, const CAppInfo& b);

inline bool ShownBefore(const CAppInfo* a, const CAppInfo* b)
{
    return CompareInShownOrder(*a, *b) < 0;
}

// Sorts `entries` (no nulls) into the shown order, stable. Each name becomes the user's sort keys
// once, so that many entries cost far fewer calls into the system than comparing pairs would.
void SortInShownOrder(std::vector<CAppInfo*>& entries);
