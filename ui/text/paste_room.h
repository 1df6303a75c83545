// Whether a pane can take a paste. Qt does not survive running out of memory in the middle of an
// insert (the program ends, and every pane's text with it) and lays a paragraph it cannot get the
// memory for out as one line, out of reach; so a paste the program cannot hold is refused before
// Qt takes it, leaving every pane as it was.
#pragma once

#include <QStringView>

#include <cstdint>

namespace ui {

// The lines of a text about to be inserted, each line break (CR LF, CR, LF or a document's own)
// ending one.
struct PasteShape
{
    qsizetype characters = 0; // without its line breaks
    qsizetype firstLine = 0;
    qsizetype lastLine = 0;
    qsizetype longestLine = 0;
    qsizetype longestWord = 0; // the longest run of characters without a space or a line break
    bool breaksLines = false;
};

PasteShape MeasurePaste(QStringView text);

// What holding the paste takes, `before` characters of its paragraph standing before it and
// `after` after it: the text with its copies on the way in and the trackers that follow it, and
// Qt's layout of the longest block it leaves, which Qt shapes whole: a paragraph of up to 64K
// characters, or a block of a longer one, cut after a space.
std::uint64_t BytesToHold(const PasteShape& paste, qsizetype before, qsizetype after);

// Whether `bytes` more can be had now: within the address space the process may still map, the
// system's commit limit, its control group's memory and the memory the system has available.
bool CanReserve(std::uint64_t bytes);

} // namespace ui
