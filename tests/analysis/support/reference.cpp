#include "reference.h"

#include <libstemmer.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>

namespace reference {

namespace {

// 1-based access, as the rules are written.
char16_t At(std::u16string_view text, long long position)
{
    return text[static_cast<std::size_t>(position - 1)];
}

// The extraction rule: `found` is called with the 1-based start of each shingle's window and the
// shingle, its trailing spaces removed.
template <typename Found> void ScanShingles(std::u16string_view p, Found found)
{
    const auto length = static_cast<long long>(p.size());
    long long scan = 1;
    long long windowStart = 1;
    long long windowLength = 0;
    long long spaceCount = 0;
    long long firstSpace = 0;
    while (true) {
        if (scan > length)
            break;
        windowLength += 1;
        if (spaceCount == 0)
            firstSpace = scan;
        if (At(p, scan) == u' ')
            spaceCount += 1;
        if (spaceCount == 3) {
            std::u16string shingle(p.substr(static_cast<std::size_t>(windowStart - 1),
                                            static_cast<std::size_t>(windowLength)));
            while (!shingle.empty() && shingle.back() == u' ')
                shingle.pop_back();
            found(windowStart, shingle);
            windowStart = firstSpace + 1;
            scan = windowStart;
            windowLength = 0;
            spaceCount = 0;
        }
        scan += 1;
    }
}

} // namespace

std::u16string PrepareText(std::u16string_view text)
{
    static const char16_t punctuation[16] = {u',', u'.', u'/', u'-', u'=', u')', u'(', u'+',
                                             u'^', u'#', u'%', u'@', u'"', u'!', u'?', u'*'};
    std::u16string prepared;
    for (long long i = 1; i <= static_cast<long long>(text.size()); ++i) {
        bool dropped = false;
        for (const char16_t mark : punctuation) {
            if (At(text, i) == mark) {
                dropped = true;
                break;
            }
        }
        if (!dropped)
            prepared += At(text, i);
    }
    return prepared;
}

analysis::ShingleList ExtractShingles(std::u16string_view prepared)
{
    analysis::ShingleList list;
    ScanShingles(prepared,
                 [&list](long long, const std::u16string& shingle) { list.push_back(shingle); });
    return list;
}

bool CompareShingleLists(const analysis::ShingleList& newText, const analysis::ShingleList& source,
                         analysis::ComparisonResult& result)
{
    const auto n = static_cast<long long>(newText.size());
    const auto s = static_cast<long long>(source.size());
    if (s < 3)
        return false;
    if (n < 3)
        return false;
    result = {};
    result.NewShingleCount = n;
    result.SourceShingleCount = s;
    // An entry is listed while every earlier one was, and while it leaves room for the longest
    // closing line.
    long long listed = 0;
    for (long long i = 1; i <= n; ++i) {
        for (long long j = 1; j <= s; ++j) {
            if (source[static_cast<std::size_t>(j - 1)] ==
                newText[static_cast<std::size_t>(i - 1)]) {
                result.MatchCount += 1;
                const std::u16string& entry = newText[static_cast<std::size_t>(i - 1)];
                if (listed == result.MatchCount - 1 && listed < analysis::MatchListingLimit &&
                    result.MatchListing.size() + entry.size() + 1 +
                            analysis::LongestListingSummary <=
                        analysis::MatchListingCharacterLimit) {
                    result.MatchListing += entry;
                    result.MatchListing += u'\r';
                    listed += 1;
                }
            }
        }
    }
    if (result.MatchCount > listed) {
        const std::string omitted = std::to_string(result.MatchCount - listed);
        result.MatchListing += u"\u2026 (+";
        result.MatchListing += std::u16string(omitted.begin(), omitted.end());
        result.MatchListing += u")\r";
    }
    double a = (static_cast<double>(s) + static_cast<double>(n)) / 2;
    double r = static_cast<double>(result.MatchCount) / a;
    double p = r * 100;
    double whole = std::floor(p);
    if (whole > 100)
        whole = 100;
    result.Percentage = static_cast<int>(whole);
    return true;
}

analysis::TextStatistics ComputeTextStatistics(std::u16string_view text)
{
    analysis::TextStatistics statistics;

    auto n = static_cast<long long>(text.size());
    while (n > 0 && At(text, n) == u' ')
        n -= 1;
    long long characters = 0;
    for (long long i = 1; i <= n; ++i) {
        characters += 1;
        if (At(text, i) == u' ')
            characters -= 1;
    }
    statistics.CharactersWithoutSpaces = static_cast<std::int32_t>(characters);

    static const std::u16string nonWords[13] = {u"-", u"",  u"(", u")", u"=", u"_", u"+",
                                                u"%", u"$", u"@", u"!", u"?", u"/"};
    const auto length = static_cast<long long>(text.size());
    long long tokenStart = 1;
    long long run = 0;
    long long words = 0;
    for (long long i = 1; i <= length; ++i) {
        run += 1;
        if (At(text, i) == u' ' || i == length) {
            const std::u16string token(text.substr(static_cast<std::size_t>(tokenStart - 1),
                                                   static_cast<std::size_t>(run - 1)));
            bool isWord = true;
            for (const auto& nonWord : nonWords) {
                if (token == nonWord)
                    isWord = false;
            }
            if (isWord)
                words += 1;
            tokenStart = i + 1;
            run = 0;
        }
    }
    statistics.WordCount = static_cast<std::int32_t>(words);
    return statistics;
}

namespace {

struct LocatedShingle
{
    std::u16string text;
    analysis::TextRange extent; // in the unprepared text
};

// Preparation and extraction as above, step by step, remembering where each prepared
// character stood before preparation.
std::vector<LocatedShingle> LocateShingles(std::u16string_view text)
{
    const std::u16string prepared = PrepareText(text);
    std::vector<long long> origin; // 1-based position in `text` of each prepared character
    for (long long i = 1; i <= static_cast<long long>(text.size()); ++i) {
        if (PrepareText(text.substr(static_cast<std::size_t>(i - 1), 1)).size() == 1)
            origin.push_back(i);
    }
    std::vector<LocatedShingle> located;
    ScanShingles(prepared, [&](long long windowStart, const std::u16string& shingle) {
        // An empty shingle lies, empty, where its window starts.
        const long long first = origin[static_cast<std::size_t>(windowStart - 1)];
        analysis::TextRange extent{static_cast<std::size_t>(first - 1),
                                   static_cast<std::size_t>(first - 1)};
        if (!shingle.empty()) {
            const long long last = origin[static_cast<std::size_t>(
                windowStart - 1 + static_cast<long long>(shingle.size()) - 1)];
            extent.end = static_cast<std::size_t>(last);
        }
        located.push_back({shingle, extent});
    });
    return located;
}

std::vector<analysis::TextRange> Runs(const std::vector<bool>& marked)
{
    std::vector<analysis::TextRange> runs;
    for (std::size_t i = 0; i < marked.size(); ++i) {
        if (!marked[i])
            continue;
        if (!runs.empty() && runs.back().end == i)
            runs.back().end = i + 1;
        else
            runs.push_back({i, i + 1});
    }
    return runs;
}

} // namespace

Repeats LocateRepeats(std::u16string_view newText, std::u16string_view source, bool whateverTheSize)
{
    const std::vector<LocatedShingle> newShingles = LocateShingles(newText);
    const std::vector<LocatedShingle> sourceShingles = LocateShingles(source);
    Repeats repeats;
    if (!whateverTheSize && (sourceShingles.size() < 3 || newShingles.size() < 3))
        return repeats;
    std::vector<bool> newMarked(newText.size(), false);
    std::vector<bool> sourceMarked(source.size(), false);
    // A pair is listed as its entry is: while every earlier one was, and while the entry leaves
    // room for the longest closing line.
    long long matches = 0;
    std::size_t listingLength = 0;
    for (const LocatedShingle& t : newShingles) {
        for (const LocatedShingle& s : sourceShingles) {
            if (s.text != t.text)
                continue;
            matches += 1;
            for (std::size_t i = t.extent.start; i < t.extent.end; ++i)
                newMarked[i] = true;
            for (std::size_t i = s.extent.start; i < s.extent.end; ++i)
                sourceMarked[i] = true;
            const auto listed = static_cast<long long>(repeats.pairs.size());
            if (listed == matches - 1 && listed < analysis::MatchListingLimit &&
                listingLength + t.text.size() + 1 + analysis::LongestListingSummary <=
                    analysis::MatchListingCharacterLimit) {
                repeats.pairs.emplace_back(t.extent, s.extent);
                listingLength += t.text.size() + 1;
            }
        }
    }
    repeats.newTextMarks = Runs(newMarked);
    repeats.sourceMarks = Runs(sourceMarked);
    return repeats;
}

std::u16string FoldWord(std::u16string_view word)
{
    std::u16string folded;
    bool cyrillic = false;
    bool latin = false;
    for (char16_t c : word) {
        if ((c >= u'A' && c <= u'Z') || (c >= 0x00C0 && c <= 0x00DE && c != 0x00D7) ||
            (c >= 0x0410 && c <= 0x042F))
            c = static_cast<char16_t>(c + 0x20);
        else if (c >= 0x0400 && c <= 0x040F)
            c = static_cast<char16_t>(c + 0x50);
        if (c == 0x0451 || c == 0x0401)
            c = 0x0435;
        if (c >= 0x0400 && c <= 0x04FF)
            cyrillic = true;
        if ((c >= u'a' && c <= u'z') || (c >= 0x00DF && c <= 0x00FF && c != 0x00F7))
            latin = true;
        folded += c;
    }
    if (!cyrillic && !latin)
        return folded;
    // UTF-8 both ways, code point by code point.
    std::string utf8;
    for (std::size_t i = 0; i < folded.size(); ++i) {
        char32_t c = folded[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < folded.size() && folded[i + 1] >= 0xDC00 &&
            folded[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (folded[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            utf8 += static_cast<char>(c);
        } else if (c < 0x800) {
            utf8 += static_cast<char>(0xC0 | (c >> 6));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            utf8 += static_cast<char>(0xE0 | (c >> 12));
            utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            utf8 += static_cast<char>(0xF0 | (c >> 18));
            utf8 += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    sb_stemmer* stemmer = sb_stemmer_new(cyrillic ? "russian" : "english", "UTF_8");
    const sb_symbol* stem = sb_stemmer_stem(
        stemmer, reinterpret_cast<const sb_symbol*>(utf8.data()), static_cast<int>(utf8.size()));
    const std::string stemmed(reinterpret_cast<const char*>(stem),
                              static_cast<std::size_t>(sb_stemmer_length(stemmer)));
    sb_stemmer_delete(stemmer);
    std::u16string result;
    for (std::size_t i = 0; i < stemmed.size();) {
        const auto byte = static_cast<unsigned char>(stemmed[i]);
        char32_t c = 0;
        std::size_t follow = 0;
        if (byte < 0x80) {
            c = byte;
        } else if (byte < 0xE0) {
            c = byte & 0x1F;
            follow = 1;
        } else if (byte < 0xF0) {
            c = byte & 0x0F;
            follow = 2;
        } else {
            c = byte & 0x07;
            follow = 3;
        }
        for (++i; follow > 0 && i < stemmed.size(); --follow, ++i)
            c = (c << 6) | (static_cast<unsigned char>(stemmed[i]) & 0x3F);
        if (c >= 0x10000) {
            result += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            result += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            result += static_cast<char16_t>(c);
        }
    }
    return result;
}

namespace {

// A shingle folded word by word, its words split at each space.
std::u16string FoldShingle(const std::u16string& shingle)
{
    std::u16string folded;
    std::size_t from = 0;
    while (true) {
        const std::size_t space = shingle.find(u' ', from);
        folded += FoldWord(std::u16string_view(shingle).substr(
            from, space == std::u16string::npos ? std::u16string::npos : space - from));
        if (space == std::u16string::npos)
            break;
        folded += u' ';
        from = space + 1;
    }
    return folded;
}

} // namespace

NearRepeats LocateNearRepeats(std::u16string_view newText, std::u16string_view source)
{
    const std::vector<LocatedShingle> newShingles = LocateShingles(newText);
    const std::vector<LocatedShingle> sourceShingles = LocateShingles(source);
    std::vector<std::u16string> newFolded;
    std::vector<std::u16string> sourceFolded;
    newFolded.reserve(newShingles.size());
    sourceFolded.reserve(sourceShingles.size());
    for (const LocatedShingle& t : newShingles)
        newFolded.push_back(FoldShingle(t.text));
    for (const LocatedShingle& s : sourceShingles)
        sourceFolded.push_back(FoldShingle(s.text));
    // A shingle is a near repeat when no shingle of the other text equals it and one folds as it
    // does.
    const auto nearRepeat = [](const LocatedShingle& shingle, const std::u16string& folded,
                               const std::vector<LocatedShingle>& others,
                               const std::vector<std::u16string>& othersFolded) {
        bool exact = false;
        bool alike = false;
        for (std::size_t k = 0; k < others.size(); ++k) {
            if (others[k].text == shingle.text)
                exact = true;
            if (othersFolded[k] == folded)
                alike = true;
        }
        return !exact && alike && shingle.extent.end > shingle.extent.start;
    };
    NearRepeats repeats;
    std::vector<bool> newMarked(newText.size(), false);
    std::vector<bool> sourceMarked(source.size(), false);
    for (std::size_t i = 0; i < newShingles.size(); ++i) {
        if (!nearRepeat(newShingles[i], newFolded[i], sourceShingles, sourceFolded))
            continue;
        ++repeats.newTextCount;
        for (std::size_t c = newShingles[i].extent.start; c < newShingles[i].extent.end; ++c)
            newMarked[c] = true;
    }
    for (std::size_t i = 0; i < sourceShingles.size(); ++i) {
        if (!nearRepeat(sourceShingles[i], sourceFolded[i], newShingles, newFolded))
            continue;
        for (std::size_t c = sourceShingles[i].extent.start; c < sourceShingles[i].extent.end; ++c)
            sourceMarked[c] = true;
    }
    repeats.newTextMarks = Runs(newMarked);
    repeats.sourceMarks = Runs(sourceMarked);
    return repeats;
}

std::string EntriesAgainstTheRules(const std::vector<ListedEntry>& entries,
                                   std::u16string_view newText, std::u16string_view source)
{
    const auto counted = [](std::u16string_view text) {
        std::map<std::u16string, long long> shingles;
        for (const std::u16string& shingle : ExtractShingles(PrepareText(text)))
            ++shingles[shingle];
        return shingles;
    };
    const std::map<std::u16string, long long> newShingles = counted(newText);
    const std::map<std::u16string, long long> sourceShingles = counted(source);
    const Repeats repeats = LocateRepeats(newText, source, true);
    std::map<std::u16string, long long> listed;
    std::map<std::u16string, long long> standing;
    std::map<std::u16string, std::size_t> firstEntry;
    for (std::size_t e = 0; e < entries.size(); ++e) {
        const ListedEntry& entry = entries[e];
        ++listed[entry.text];
        firstEntry.try_emplace(entry.text, e);
        if (entry.struckOut) {
            if (entry.leadsTo)
                return "entry " + std::to_string(e) + " is struck out but leads somewhere";
            continue;
        }
        ++standing[entry.text];
        const bool ofItsCombination =
            entry.leadsTo &&
            std::ranges::find(repeats.pairs, *entry.leadsTo) != repeats.pairs.end() &&
            PrepareText(newText.substr(entry.leadsTo->first.start,
                                       entry.leadsTo->first.end - entry.leadsTo->first.start)) ==
                entry.text;
        if (!ofItsCombination)
            return "entry " + std::to_string(e) + " leads to no pair of its combination";
    }
    for (const auto& [text, count] : listed) {
        const auto inNew = newShingles.find(text);
        const auto inSource = sourceShingles.find(text);
        const long long pairs = inNew == newShingles.end() || inSource == sourceShingles.end()
                                    ? 0
                                    : inNew->second * inSource->second;
        if (standing[text] != std::min(count, pairs))
            return std::to_string(standing[text]) + " of the " + std::to_string(count) +
                   " entries of entry " + std::to_string(firstEntry[text]) +
                   "'s combination stand, where a compare counts " + std::to_string(pairs);
    }
    return {};
}

} // namespace reference
