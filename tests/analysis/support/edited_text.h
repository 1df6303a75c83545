// A text edited paragraph by paragraph, as a pane's document is, with its live figures kept
// beside it: what the live figures are checked against after every edit.
#pragma once

#include "analysis/analysis.h"

#include <algorithm>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace testsupport {

class EditedText
{
public:
    // Replaces `count` paragraphs from `first` on by `added`, in the paragraphs and the live
    // figures alike; a count beyond the last paragraph stops there. The text always keeps a
    // paragraph, empty or not. Where `continues` holds, an added paragraph follows the one
    // before it after a space.
    void replace(std::size_t first, std::size_t count, const std::vector<std::u16string>& added,
                 const std::vector<bool>& continues = {})
    {
        const std::vector<std::u16string_view> views(added.begin(), added.end());
        const auto flags = std::make_unique<bool[]>(added.size());
        for (std::size_t i = 0; i < added.size(); ++i)
            flags[i] = i < continues.size() && continues[i];
        live_.replace(first, count, views, std::span<const bool>(flags.get(), added.size()));
        count = std::min(count, paragraphs_.size() - first);
        const auto at = static_cast<std::ptrdiff_t>(first);
        paragraphs_.erase(paragraphs_.begin() + at,
                          paragraphs_.begin() + at + static_cast<std::ptrdiff_t>(count));
        paragraphs_.insert(paragraphs_.begin() + at, added.begin(), added.end());
        continues_.erase(continues_.begin() + at,
                         continues_.begin() + at + static_cast<std::ptrdiff_t>(count));
        continues_.insert(continues_.begin() + at, flags.get(), flags.get() + added.size());
        if (paragraphs_.empty()) {
            paragraphs_.emplace_back();
            continues_.push_back(false);
        }
        continues_.front() = false;
    }

    const std::vector<std::u16string>& paragraphs() const { return paragraphs_; }
    const analysis::LiveTextStatistics& live() const { return live_; }

    // The paragraphs joined by CR LF or a space, as the pane reads its text.
    std::u16string text() const
    {
        std::u16string text = paragraphs_.front();
        for (std::size_t i = 1; i < paragraphs_.size(); ++i)
            text += (continues_[i] ? u" " : u"\r\n") + paragraphs_[i];
        return text;
    }

private:
    std::vector<std::u16string> paragraphs_{std::u16string()};
    std::vector<bool> continues_{false};
    analysis::LiveTextStatistics live_;
};

} // namespace testsupport
