// Finding entries by typed words: an entry matches when every word of the text is found in its
// name or in its description, ignoring letter case and, where the system can separate them from
// their letters, accents.
#pragma once
#include "ui/app_list.h"
#include "ui/page_view.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace search {

// `text` in the form words are compared in: accents the system can separate from their letters
// dropped, then lower case.
std::wstring Fold(const std::wstring& text);

// The folded words of `text`, split at blanks; none for a text of blanks only.
std::vector<std::wstring> WordsOf(const std::wstring& text);

}  // namespace search

// One search text and what it asks of an entry.
class EntrySearch {
public:
    EntrySearch() = default;
    explicit EntrySearch(std::wstring text);

    // The text as typed.
    const std::wstring& Text() const { return m_text; }
    // No words (an empty text or blanks only): nothing is filtered.
    bool IsEmpty() const { return m_words.empty(); }
    bool Matches(const CAppInfo& entry) const;
    // Whether every word is in `folded`, an entry's searchable text (see SearchableText).
    bool MatchesFolded(const std::wstring& folded) const;

    // What of an entry is searched, folded: its name and its description, apart, so that no
    // word is found across the two.
    static std::wstring SearchableText(const CAppInfo& entry);

private:
    std::wstring m_text;
    std::vector<std::wstring> m_words;
};

// The searchable text of each catalogue entry, folded once, so that a keystroke only compares.
class SearchIndex {
public:
    void Build(const CAppList& catalogue);
    // `entries` that match `search`, in their order; nulls are left out. All of them (nulls
    // left out) for an empty search.
    EntryList Filter(const EntryList& entries, const EntrySearch& search) const;

private:
    std::unordered_map<const CAppInfo*, std::wstring> m_folded;
};
