// Form4: the verdict in the caption, the percentage line and, above 0 %, the shingles that
// the new text shares with the source.
#pragma once

#include "analysis/analysis.h"

#include <QDialog>

#include <functional>
#include <optional>
#include <vector>

class QLabel;
class QPushButton;

namespace ui {

class ListingPane;

class ResultWindow : public QDialog
{
    Q_OBJECT

public:
    explicit ResultWindow(QWidget* owner);

    // Fills the window with a comparison's outcome and shows it, modeless. What this does not
    // set keeps the state an earlier comparison left.
    void present(const analysis::ComparisonResult& result, int shownShingleLength);

    // The pairs behind the listing that present() last put in: its first `count` entries, each
    // a new-text shingle and a source shingle; `done` tells which were reworded since. After a
    // result that left an earlier listing in place, the listing has no entries.
    void setEntries(int count, std::function<bool(int)> done);
    // Redraws the entries, after which of them are done changed.
    void updateEntries();
    // How many shingles of the new text repeat the source's in other forms of their words, on a
    // line of its own below what the design shows; nothing while they are still being counted.
    void setNearRepeatCount(std::optional<int> count);
    // They could not be counted: the memory ran out.
    void setNearRepeatsAbandoned();

    // The outer height last set, title bar and borders included, in twips.
    int outerHeightTwips() const { return outerHeightTwips_; }

    void setVisible(bool visible) override;

signals:
    // An entry became the current one (a click, Up or Down in the listing).
    void entryChosen(int entry);
    // An entry was double-clicked, or Enter pressed on it.
    void entryActivated(int entry);

private:
    void setOuterHeightTwips(int twips);
    void placeNearOwner();

    int outerHeightTwips_ = 0;
    QMargins frame_;                  // as the window manager draws it, once known
    QPushButton* okButton_ = nullptr; // Command1
    QLabel* resultLine_ = nullptr;    // Label2
    QLabel* heading_ = nullptr;       // Label4
    QLabel* listingTitle_ = nullptr;  // Label3
    ListingPane* listing_ = nullptr;  // RichTextBox1
    QLabel* nearRepeatsLine_ = nullptr;
    bool listingIsNew_ = false;     // the last present() put the listing in
    std::vector<int> listingUnits_; // the line each of its entries begins on, and where they end
};

} // namespace ui
