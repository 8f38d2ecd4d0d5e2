#include "ui/entry_search.h"

#include "catalog/app_info.h"

#include <windows.h>

namespace search {

namespace {

// The combining accents that decomposition leaves after their letters.
bool IsCombiningAccent(wchar_t c)
{
    return c >= 0x0300 && c <= 0x036F;
}

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t' || c == 0x00A0 || c == 0x3000;
}

// Each precomposed letter as its base letter followed by its accents; the text as it is where
// the system cannot decompose it.
std::wstring Decomposed(const std::wstring& text)
{
    const int length = static_cast<int>(text.size());
    const int needed = ::FoldStringW(MAP_COMPOSITE, text.c_str(), length, nullptr, 0);
    if (needed <= 0)
        return text;
    std::wstring out(static_cast<std::size_t>(needed), L'\0');
    const int written = ::FoldStringW(MAP_COMPOSITE, text.c_str(), length, &out[0], needed);
    if (written <= 0)
        return text;
    out.resize(static_cast<std::size_t>(written));
    return out;
}

}  // namespace

std::wstring Fold(const std::wstring& text)
{
    std::wstring plain;
    plain.reserve(text.size());
    for (wchar_t c : Decomposed(text)) {
        if (!IsCombiningAccent(c))
            plain.push_back(c);
    }
    if (plain.empty())
        return plain;
    // Lower case maps one unit to one unit; the invariant locale keeps it the same for every user.
    const int length = static_cast<int>(plain.size());
    std::wstring lower(plain.size(), L'\0');
    if (::LCMapStringW(LOCALE_INVARIANT, LCMAP_LOWERCASE, plain.c_str(), length, &lower[0], length) != length)
        return plain;
    return lower;
}

std::vector<std::wstring> WordsOf(const std::wstring& text)
{
    std::vector<std::wstring> words;
    std::wstring word;
    for (wchar_t c : text + L' ') {
        if (!IsBlank(c)) {
            word.push_back(c);
        } else if (!word.empty()) {
            words.push_back(Fold(word));
            word.clear();
        }
    }
    return words;
}

}  // namespace search

EntrySearch::EntrySearch(std::wstring text) : m_text(std::move(text)), m_words(search::WordsOf(m_text)) {}

std::wstring EntrySearch::SearchableText(const CAppInfo& entry)
{
    // A line break cannot be part of a word: a word is found in the name or in the description.
    return search::Fold(entry.m_strAppName) + L'\n' + search::Fold(entry.m_strDescription);
}

bool EntrySearch::Matches(const CAppInfo& entry) const
{
    return MatchesFolded(SearchableText(entry));
}

bool EntrySearch::MatchesFolded(const std::wstring& folded) const
{
    for (const std::wstring& word : m_words) {
        if (folded.find(word) == std::wstring::npos)
            return false;
    }
    return true;
}

void SearchIndex::Build(const CAppList& catalogue)
{
    m_folded.clear();
    m_folded.reserve(catalogue.size());
    for (const auto& entry : catalogue)
        m_folded.emplace(entry.get(), EntrySearch::SearchableText(*entry));
}

EntryList SearchIndex::Filter(const EntryList& entries, const EntrySearch& search) const
{
    EntryList matches;
    matches.reserve(entries.size());
    for (CAppInfo* entry : entries) {
        if (!entry)
            continue;
        if (search.IsEmpty()) {
            matches.push_back(entry);
            continue;
        }
        const auto folded = m_folded.find(entry);
        if (folded != m_folded.end() ? search.MatchesFolded(folded->second) : search.Matches(*entry))
            matches.push_back(entry);
    }
    return matches;
}
