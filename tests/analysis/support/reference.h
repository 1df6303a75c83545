// Literal, step-by-step transcriptions of the analysis rules, kept slow and obvious on purpose:
// the fast code in analysis/ is checked against them on generated and fuzzed texts.
#pragma once

#include "analysis/analysis.h"
#include "analysis/repeat_tracker.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace reference {

std::u16string PrepareText(std::u16string_view text);
analysis::ShingleList ExtractShingles(std::u16string_view prepared);
// Compares every pair, new text outside, source inside; false when a list is too short.
bool CompareShingleLists(const analysis::ShingleList& newText, const analysis::ShingleList& source,
                         analysis::ComparisonResult& result);
analysis::TextStatistics ComputeTextStatistics(std::u16string_view text);

// Where two texts repeat each other: the characters within a shingle that the other text shares,
// each shingle reaching from the position its first character had before preparation to that of
// its last, as maximal runs; and, for every listed pair in the listing's order, where its two
// shingles lie. As a compare finds them, empty when a text is too short to compare; or, as marks
// followed through edits are, whatever the size.
struct Repeats
{
    std::vector<analysis::TextRange> newTextMarks;
    std::vector<analysis::TextRange> sourceMarks;
    std::vector<std::pair<analysis::TextRange, analysis::TextRange>> pairs;
};
Repeats LocateRepeats(std::u16string_view newText, std::u16string_view source,
                      bool whateverTheSize = false);

// A word folded: each letter of A to Z, of U+00C0 to U+00DE but U+00D7, and of U+0410 to
// U+042F in lower case, each of U+0400 to U+040F the small letter 80 code points on, "ё" and "Ё"
// as "е"; then stemmed by Snowball's Russian stemmer when it holds a code point of U+0400 to
// U+04FF, else by its English one when it holds a Latin letter (a to z, U+00DF to U+00FF but
// U+00F7).
std::u16string FoldWord(std::u16string_view word);
// The near repeats of two texts: the characters within a shingle that is no exact repeat of a
// shingle of the other text but folds word by word (split at each space) as one does, as
// maximal runs; and how many shingles of the new text, not empty, are near repeats.
struct NearRepeats
{
    std::vector<analysis::TextRange> newTextMarks;
    std::vector<analysis::TextRange> sourceMarks;
    std::size_t newTextCount = 0;
};
NearRepeats LocateNearRepeats(std::u16string_view newText, std::u16string_view source);

// An entry of the listing after edits: its combination, whether it is struck out, and, standing,
// where it leads in each text.
struct ListedEntry
{
    std::u16string text;
    bool struckOut = false;
    std::optional<std::pair<analysis::TextRange, analysis::TextRange>> leadsTo;
};
// What is wrong with the entries for the texts as they stand, or nothing: each combination keeps
// as many entries standing as a compare of the texts counts pairs of it, no more, and each
// standing entry leads to a pair of its combination.
std::string EntriesAgainstTheRules(const std::vector<ListedEntry>& entries,
                                   std::u16string_view newText, std::u16string_view source);

} // namespace reference
