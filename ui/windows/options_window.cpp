#include "options_window.h"

#include "clickable_slider.h"
#include "ui/kit/application_palette.h"
#include "ui/kit/branding.h"
#include "ui/kit/colour_value.h"
#include "ui/kit/controls.h"
#include "ui/kit/design_fonts.h"
#include "ui/kit/twips.h"
#include "ui/placement/window_setup.h"
#include "ui/text/text_pane.h"

#include <QApplication>
#include <QButtonGroup>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <cmath>

namespace ui {

namespace {

constexpr int SliderMinimum = 10;
constexpr int SliderMaximum = 21;
constexpr int SliderLargeStep = 7;

ClickableSlider* MakeSlider(QWidget* parent, const char* name, const QRect& place)
{
    auto* slider = MakeControl<ClickableSlider>(parent, name, place);
    slider->setRange(SliderMinimum, SliderMaximum);
    slider->setSingleStep(1);
    slider->setPageStep(SliderLargeStep);
    slider->setTickInterval(1);
    slider->setTickPosition(QSlider::TicksBelow);
    // A common control, drawn on its own face in the platform's colours as on the platform the
    // design was laid out for: ticks in the platform's text colour, not the window's captions'.
    FollowApplicationPalette(slider, [slider] {
        const QPalette platform = QApplication::palette();
        QPalette palette = slider->palette();
        for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            for (const auto role : {QPalette::Window, QPalette::WindowText})
                palette.setColor(group, role, platform.color(group, role));
        }
        slider->setPalette(palette);
    });
    slider->setAutoFillBackground(true);
    return slider;
}

// An option button without caption that shows, as its background, the colour it gives the
// panes; a click anywhere on the swatch selects it.
class Swatch : public QRadioButton
{
public:
    using QRadioButton::QRadioButton;

protected:
    bool hitButton(const QPoint& position) const override { return rect().contains(position); }
};

QRadioButton* MakeSwatch(QWidget* parent, const char* name, const QRect& place, ColourValue colour)
{
    auto* swatch = MakeControl<Swatch>(parent, name, place);
    swatch->setBackgroundRole(QPalette::Window);
    FollowApplicationPalette(swatch, [swatch, colour] {
        QPalette palette = swatch->palette();
        palette.setColor(QPalette::Window, ResolveColour(colour, QApplication::palette()));
        swatch->setPalette(palette);
    });
    swatch->setAutoFillBackground(true);
    return swatch;
}

} // namespace

int RoundFontSize(qreal points)
{
    const double kept = std::round(points * 10000) / 10000;
    return static_cast<int>(std::nearbyint(kept)); // nearbyint rounds halves to even
}

OptionsWindow::OptionsWindow(QWidget* owner, MainWindowPanes panes)
    : QWidget(owner, Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      panes_(panes)
{
    SetUpSecondaryWindow(this, "Form2", QStringLiteral("Опции..."));
    setWindowIcon(ApplicationIcon());
    resize(TwipsToPixels(6315), TwipsToPixels(1920));
    PlaceOnFirstShow(this, CentredOverOwner);

    QLabel* upperLabel =
        MakeLabel(this, "Label1", QStringLiteral("Размер шрифта в верхних текстовых окнах:"),
                  TwipsRect(120, 120, 3615, 255));
    upperSlider_ = MakeSlider(this, "Slider1", TwipsRect(3600, 120, 1935, 375));
    upperLabel->setBuddy(upperSlider_); // names the slider for screen readers
    MakeLabel(this, "Label3", QStringLiteral("больше"), TwipsRect(5640, 120, 615, 255));
    QLabel* lowerLabel =
        MakeLabel(this, "Label2", QStringLiteral("Размер шрифта в рабочем(нижнем) окне:"),
                  TwipsRect(120, 600, 3375, 375));
    lowerSlider_ = MakeSlider(this, "Slider2", TwipsRect(3600, 600, 1935, 375));
    lowerLabel->setBuddy(lowerSlider_);
    MakeLabel(this, "Label4", QStringLiteral("больше"), TwipsRect(5640, 600, 615, 255));
    MakeLabel(this, "Label5", QStringLiteral("Цвет текстовых окон:"),
              TwipsRect(120, 1080, 2055, 375));

    auto* swatches = new QButtonGroup(this);
    // Each named for a screen reader by the colour it shows: the platform's grey of an inactive
    // window's border, white and olive.
    const struct
    {
        const char* name;
        int left;
        ColourValue colour;
        const char* spoken;
    } swatchDesigns[] = {{"Option1", 2160, ColourInactiveBorder, "Серый"},
                         {"Option2", 3360, Rgb(255, 255, 255), "Белый"},
                         {"Option3", 4560, Rgb(128, 128, 0), "Оливковый"}};
    QWidget* previous = lowerSlider_;
    for (const auto& design : swatchDesigns) {
        QRadioButton* swatch =
            MakeSwatch(this, design.name, TwipsRect(design.left, 1080, 975, 375), design.colour);
        swatches->addButton(swatch);
        swatch->setAccessibleName(QString::fromUtf8(design.spoken));
        // Tab comes to the selected swatch alone, as to one choice; the arrows move between them.
        connect(swatch, &QRadioButton::toggled, swatch, [swatch](bool selected) {
            swatch->setFocusPolicy(selected ? Qt::StrongFocus : Qt::ClickFocus);
        });
        swatch->setFocusPolicy(Qt::ClickFocus);
        // White is selected on every creation, whatever colour the panes have.
        swatch->setChecked(design.colour == Rgb(255, 255, 255));
        const ColourValue colour = design.colour;
        connect(swatch, &QRadioButton::toggled, this, [this, colour](bool selected) {
            if (!selected)
                return;
            for (TextPane* pane : {panes_.newText, panes_.source, panes_.auxiliary})
                pane->setBackgroundColour(colour);
        });
        QWidget::setTabOrder(previous, swatch);
        previous = swatch;
    }

    auto* okButton = MakeButton(this, "Command1", QStringLiteral("Окей"),
                                TwipsRect(4920, 1560, 1215, 255), LabelFont());
    connect(okButton, &QPushButton::clicked, this, &QWidget::hide);
    QWidget::setTabOrder(upperSlider_, lowerSlider_);
    QWidget::setTabOrder(previous, okButton);

    // The load step: positions from the panes, applying nothing to them.
    upperSlider_->setValue(RoundFontSize(panes_.auxiliary->fontSize()));
    lowerSlider_->setValue(RoundFontSize(panes_.newText->fontSize()));
    connect(upperSlider_, &ClickableSlider::clicked, this, &OptionsWindow::setUpperPaneFontSize);
    connect(lowerSlider_, &ClickableSlider::clicked, this, &OptionsWindow::setLowerPaneFontSize);
}

void OptionsWindow::setUpperPaneFontSize()
{
    panes_.auxiliary->setFontSize(upperSlider_->value());
    panes_.source->setFontSize(upperSlider_->value());
}

void OptionsWindow::setLowerPaneFontSize()
{
    panes_.newText->setFontSize(lowerSlider_->value());
}

} // namespace ui
