#include "paste_room.h"

#include "line_break_conversion.h"
#include "paragraph_cuts.h"

#include <sys/mman.h>

#include <algorithm>
#include <fstream>
#include <limits>
#include <optional>
#include <string>

namespace ui {

namespace {

// Measured on pastes of 20 and 50 MB: a book takes about 10 bytes a character once pasted and
// laid out, and a tracker that follows it about 17 more; a paragraph laid out takes about 36
// bytes a character of it while Qt shapes it.
constexpr std::uint64_t BytesPerCharacter = 24;
constexpr std::uint64_t BytesPerParagraphCharacter = 36;

std::optional<std::uint64_t> ReadNumber(const std::string& path)
{
    std::ifstream file(path);
    std::uint64_t value = 0;
    if (file >> value)
        return value;
    return std::nullopt;
}

// The memory the system has for more, without swapping out what others use: MemAvailable and
// the swap left.
std::optional<std::uint64_t> SystemAvailable()
{
    std::ifstream meminfo("/proc/meminfo");
    std::string name;
    std::uint64_t kilobytes = 0;
    std::string unit;
    std::uint64_t available = 0;
    int found = 0;
    while (meminfo >> name >> kilobytes) {
        std::getline(meminfo, unit);
        if (name == "MemAvailable:" || name == "SwapFree:") {
            available += kilobytes * 1024;
            ++found;
        }
    }
    return found == 2 ? std::optional(available) : std::nullopt;
}

// The least room any control group of the process leaves under its memory.max, from its own up
// to the root.
std::optional<std::uint64_t> GroupAvailable()
{
    std::ifstream groups("/proc/self/cgroup");
    std::string line;
    std::optional<std::uint64_t> least;
    while (std::getline(groups, line)) {
        if (!line.starts_with("0::/"))
            continue;
        std::string path = line.substr(3);
        while (true) {
            const std::string folder = "/sys/fs/cgroup" + (path == "/" ? std::string() : path);
            const std::optional<std::uint64_t> max = ReadNumber(folder + "/memory.max");
            const std::optional<std::uint64_t> current = ReadNumber(folder + "/memory.current");
            if (max && current) {
                const std::uint64_t room = *max > *current ? *max - *current : 0;
                least = std::min(least.value_or(room), room);
            }
            if (path == "/")
                break;
            path.erase(std::max<std::size_t>(path.rfind('/'), 1));
        }
    }
    return least;
}

} // namespace

PasteShape MeasurePaste(QStringView text)
{
    PasteShape shape;
    qsizetype lineStart = 0;
    qsizetype wordStart = 0;
    for (qsizetype i = 0;; ++i) {
        const bool atEnd = i == text.size();
        if (atEnd || text[i] == u' ' || text[i] == u'\r' || text[i] == u'\n' ||
            IsDocumentLineBreak(text[i])) {
            shape.longestWord = std::max(shape.longestWord, i - wordStart);
            wordStart = i + 1;
        }
        if (!atEnd && text[i] != u'\r' && text[i] != u'\n' && !IsDocumentLineBreak(text[i]))
            continue;
        const qsizetype length = i - lineStart;
        if (lineStart == 0)
            shape.firstLine = length;
        shape.lastLine = length;
        shape.longestLine = std::max(shape.longestLine, length);
        shape.characters += length;
        if (atEnd)
            return shape;
        shape.breaksLines = true;
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        lineStart = i + 1;
    }
}

std::uint64_t BytesToHold(const PasteShape& paste, qsizetype before, qsizetype after)
{
    const qsizetype paragraph =
        paste.breaksLines
            ? std::max({before + paste.firstLine, paste.lastLine + after, paste.longestLine})
            : before + paste.characters + after;
    // A block of a paragraph that is cut ends at the first space after CutBlockLength
    // characters; what stands around the paste is not looked at, and counted whole.
    const qsizetype longest =
        paragraph <= UncutParagraphLength
            ? paragraph
            : std::min(paragraph, CutBlockLength + paste.longestWord + before + after);
    return static_cast<std::uint64_t>(paste.characters) * BytesPerCharacter +
           static_cast<std::uint64_t>(longest) * BytesPerParagraphCharacter;
}

bool CanReserve(std::uint64_t bytes)
{
    if (bytes == 0)
        return true;
    if (bytes > std::numeric_limits<std::size_t>::max() / 2)
        return false;
    // Mapped and given back at once, never touched: the kernel refuses it where the address space
    // left or the commit limit is short, and a mapping costs no memory until it is written.
    void* room = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (room == MAP_FAILED)
        return false;
    munmap(room, bytes);
    for (const std::optional<std::uint64_t> available : {SystemAvailable(), GroupAvailable()}) {
        if (available && bytes > *available)
            return false;
    }
    return true;
}

} // namespace ui
