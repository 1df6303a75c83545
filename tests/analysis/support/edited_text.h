// A text edited paragraph by paragraph, as a pane's document is, with its live figures kept
// beside it: what the live figures are checked against after every edit.
#pragma once

#include "analysis/analysis.h"

#include <algorithm>
#include <string>
#include <vector>

namespace testsupport {

class EditedText
{
public:
    // Replaces `count` paragraphs from `first` on by `added`, in the paragraphs and the live
    // figures alike; a count beyond the last paragraph stops there. The text always keeps a
    // paragraph, empty or not.
    void replace(std::size_t first, std::size_t count, const std::vector<std::u16string>& added)
    {
        const std::vector<std::u16string_view> views(added.begin(), added.end());
        live_.replace(first, count, views);
        const auto from = paragraphs_.begin() + static_cast<std::ptrdiff_t>(first);
        paragraphs_.erase(
            from, from + static_cast<std::ptrdiff_t>(std::min(count, paragraphs_.size() - first)));
        paragraphs_.insert(paragraphs_.begin() + static_cast<std::ptrdiff_t>(first), added.begin(),
                           added.end());
        if (paragraphs_.empty())
            paragraphs_.emplace_back();
    }

    const std::vector<std::u16string>& paragraphs() const { return paragraphs_; }
    const analysis::LiveTextStatistics& live() const { return live_; }

    // The paragraphs joined by CR LF, as the pane reads its text.
    std::u16string text() const
    {
        std::u16string text = paragraphs_.front();
        for (std::size_t i = 1; i < paragraphs_.size(); ++i)
            text += u"\r\n" + paragraphs_[i];
        return text;
    }

private:
    std::vector<std::u16string> paragraphs_{std::u16string()};
    analysis::LiveTextStatistics live_;
};

} // namespace testsupport
