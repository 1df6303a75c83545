#include "result_window.h"

#include "listing_pane.h"
#include "ui/kit/colour_value.h"
#include "ui/kit/controls.h"
#include "ui/kit/design_fonts.h"
#include "ui/kit/reading.h"
#include "ui/kit/strings.h"
#include "ui/kit/twips.h"
#include "ui/placement/window_frame.h"
#include "ui/placement/window_setup.h"
#include "ui/text/line_break_conversion.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include <algorithm>
#include <limits>

namespace ui {

namespace {

constexpr int ClientWidth = 4830;
constexpr int DesignClientHeight = 825;
constexpr int CollapsedOuterHeight = 999;
constexpr int ExpandedOuterHeight = 2760;
// The bottom of what each height shows whole: the result line, and the listing pane below it.
constexpr int CollapsedShownBottom = 360 + 255;
constexpr int ExpandedShownBottom = 840 + 1575;
// The line of the near repeats, just below what each height shows; the window grows by what it
// lacks to show it, and no more: the design's second block stays out of sight.
constexpr int NearLineGap = 45;
constexpr int NearLineHeight = 255;
constexpr int NearLineLeft = 120;

int ShownBottom(int outerTwips)
{
    return outerTwips == ExpandedOuterHeight ? ExpandedShownBottom : CollapsedShownBottom;
}

int NearLineTop(int outerTwips)
{
    return ShownBottom(outerTwips) + NearLineGap;
}

// The client height that gives the window the outer height `outerTwips` within `frame`. A frame
// much thicker than the design's (Qt's own title bar under Wayland, say) would cut into what
// that height shows, the result line or the listing pane, and the line below; the window then
// grows by what it lacks.
int ClientHeight(int outerTwips, const QMargins& frame)
{
    return std::max(TwipsToPixels(NearLineTop(outerTwips) + NearLineHeight),
                    TwipsToPixels(outerTwips) - frame.top() - frame.bottom());
}

const QString NearRepeatsLead = QStringLiteral("Похожих сочетаний (другие формы слов): ");

QString NearRepeatsText(std::optional<int> count)
{
    return NearRepeatsLead + (count ? QString::number(*count) : QStringLiteral("считаются\u2026"));
}

const QString LeadIn = QStringLiteral("Тексты совпадают на ");
const QString ListingTitle = QStringLiteral("Для уникализации исправьте следующие сочетания:");

ListingPane* MakeListingPane(QWidget* parent, const char* name, const QRect& place)
{
    auto* pane = MakeControl<ListingPane>(parent, name, place);
    pane->setFont(ReadOnlyPaneFont());
    pane->setBackgroundColour(ColourWindow);
    pane->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    return pane;
}

} // namespace

// The listing pane counts its positions in int; no listing comes near that.
static_assert(analysis::MatchListingCharacterLimit < std::numeric_limits<int>::max());

ResultWindow::ResultWindow(QWidget* owner)
    : QDialog(owner,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    // The comparison sets the caption before the window is first shown.
    SetUpSecondaryWindow(this, "Form4", QString());
    // The design gives the result window no icon; not even the application's.
    setWindowIcon(QIcon());
    setFixedSize(TwipsToPixels(ClientWidth), TwipsToPixels(DesignClientHeight));

    okButton_ = MakeButton(this, "Command1", QStringLiteral("Окей..."),
                           TwipsRect(3600, 120, 1095, 255), LabelFont());
    // Esc rejects the dialog, which closes it like "Окей...".
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);

    resultLine_ = MakeLabel(this, "Label2", QStringLiteral("00"), TwipsRect(1920, 360, 2535, 255));
    // The result line is read whole, its lead-in with its figure.
    LeaveOutOfReading(MakeLabel(this, "Label1", LeadIn, TwipsRect(120, 360, 1695, 255)));
    ReadAsOne(LeadIn, {resultLine_});
    heading_ = MakeLabel(this, "Label4", QStringLiteral("Даные по Окну №1"),
                         TwipsRect(120, 120, 2175, 255));
    listingTitle_ = MakeLabel(this, "Label3", ListingTitle, TwipsRect(240, 600, 4215, 255));
    listingTitle_->hide();
    listing_ = MakeListingPane(this, "RichTextBox1", TwipsRect(240, 840, 4335, 1575));
    // Read by the title above it, which labels it.
    listing_->setAccessibleName(ListingTitle);
    listingTitle_->setBuddy(listing_);
    connect(listing_, &ListingPane::currentEntryChanged, this, &ResultWindow::entryChosen);
    connect(listing_, &ListingPane::entryActivated, this, &ResultWindow::entryActivated);
    listing_->hide();

    // The design's second block, below the highest height the window is ever given. Hidden as
    // well, so that what nobody sees is neither read by a screen reader nor reached by Tab.
    auto* separator = MakeControl<QFrame>(this, "Line1", TwipsRect(0, 2760, 4800, 15));
    separator->setFrameShape(QFrame::HLine);
    for (QWidget* unseen : std::initializer_list<QWidget*>{
             MakeLabel(this, "Label5", QStringLiteral("Даные по Окну №2"),
                       TwipsRect(120, 2880, 2175, 255)),
             MakeLabel(this, "Label6", LeadIn, TwipsRect(120, 3120, 1695, 255)),
             MakeLabel(this, "Label7", QStringLiteral("00"), TwipsRect(2040, 3120, 2535, 255)),
             MakeLabel(this, "Label8", ListingTitle, TwipsRect(240, 3360, 4215, 255)),
             MakeListingPane(this, "RichTextBox2", TwipsRect(240, 3600, 4335, 1575)), separator})
        unseen->hide();

    nearRepeatsLine_ = MakeLabel(this, "NearRepeatsLine", NearRepeatsText(std::nullopt),
                                 TwipsRect(NearLineLeft, NearLineTop(CollapsedOuterHeight),
                                           ClientWidth - 2 * NearLineLeft, NearLineHeight));

    okButton_->setFocus();
    // A dialog makes its first button its default again whenever that button loses the focus.
    // The button, not the dialog, holds the watch: the dialog hands the focus on as it is
    // destroyed.
    connect(qApp, &QApplication::focusChanged, okButton_,
            [button = okButton_](QWidget* old, QWidget*) {
                if (old == button)
                    button->setDefault(false);
            });

    // Until the window manager has framed the window, its owner's frame stands in for its own.
    const QWidget* ownerWindow = owner ? owner->window() : nullptr;
    frame_ = ownerWindow ? FrameMargins(ownerWindow) : QMargins();
    new FrameWatch(
        this,
        [this](const QMargins& frame) {
            frame_ = frame;
            if (outerHeightTwips_ > 0)
                setOuterHeightTwips(outerHeightTwips_);
            placeNearOwner();
        },
        frame_);
}

void ResultWindow::present(const analysis::ComparisonResult& result, int shownShingleLength)
{
    resultLine_->setText(
        ToQString(analysis::FormatResultLine(result.Percentage, shownShingleLength)));
    setOuterHeightTwips(CollapsedOuterHeight);
    heading_->hide();
    listingIsNew_ = result.Percentage > 0;
    if (listingIsNew_) {
        setOuterHeightTwips(ExpandedOuterHeight);
        listingTitle_->show();
        const QString listing = ToQString(result.MatchListing);
        listing_->replacePlainText(listing);
        // Each entry's first line, and the line after the last entry: the closing "… (+K)" line
        // where entries were left out, else the empty line after the last carriage return.
        const std::vector<std::size_t>& starts = result.listingEntryStarts;
        listingUnits_.clear();
        for (const int position : ToolkitPositions(listing, starts))
            listingUnits_.push_back(listing_->lineAt(position));
        listing_->show();
        heading_->show();
    } else {
        // The listing of an earlier result stays, out of sight: the line of the near repeats
        // stands where its heading would, and Tab must not reach what is not seen.
        listing_->setEntries({}, 0, {});
        listingTitle_->hide();
        listing_->hide();
    }
    SetWindowCaption(this, ToQString(analysis::VerdictCaption(result)));
    ShowInFront(this);
}

// Shown, a dialog makes its first button its default, which the style draws as it draws the
// focus: "Окей..." would look focused while the listing has the keys. It is the default only
// while focused, and Enter presses it then.
void ResultWindow::setVisible(bool visible)
{
    QDialog::setVisible(visible);
    if (visible)
        okButton_->setDefault(false);
}

void ResultWindow::placeNearOwner()
{
    const QRect available = AvailableArea(this);
    if (available.isEmpty())
        return;
    // Room for the highest height a later comparison may give the window, so it stays whole.
    const QSize outer = QSize(width(), ClientHeight(ExpandedOuterHeight, frame_)).grownBy(frame_);
    MoveFrameTo(this, FirstPlacement(outer, OwnerPlace(this), available), frame_);
}

void ResultWindow::setEntries(int count, std::function<bool(int)> done)
{
    if (!listingIsNew_)
        return;
    count = std::clamp(count, 0, static_cast<int>(listingUnits_.size()) - 1);
    std::vector<int> lines(listingUnits_.begin(), listingUnits_.begin() + count);
    listing_->setEntries(std::move(lines), listingUnits_[static_cast<std::size_t>(count)],
                         std::move(done));
}

void ResultWindow::updateEntries()
{
    listing_->updateEntries();
}

void ResultWindow::setNearRepeatCount(std::optional<int> count)
{
    nearRepeatsLine_->setText(NearRepeatsText(count));
}

void ResultWindow::setNearRepeatsAbandoned()
{
    nearRepeatsLine_->setText(NearRepeatsLead + QStringLiteral("нет памяти"));
}

void ResultWindow::setOuterHeightTwips(int twips)
{
    outerHeightTwips_ = twips;
    setFixedHeight(ClientHeight(twips, frame_));
    nearRepeatsLine_->move(nearRepeatsLine_->x(), TwipsToPixels(NearLineTop(twips)));
}

} // namespace ui
