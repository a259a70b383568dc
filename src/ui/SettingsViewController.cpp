#include "ui/SettingsViewController.h"

#include "appearance/PreferenceStore.h"
#include "appearance/SystemFonts.h"
#include "ui/ColorWell.h"
#include "ui/Layout.h"
#include "ui/SwatchButton.h"
#include "ui/WidgetColors.h"

#include <QLabel>
#include <QPalette>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace voveriz {

namespace {

constexpr int kRootWidth = 280;
constexpr int kRootHeight = 200;
constexpr int kTabMargin = 6;  // the tab view's frame (6, 6, 268, 188) in the root
constexpr double kTabContentHeight = 150.0;
const char* const kRootFill = "#2a2a2a";
const char* const kLabelColor = "#e0e0f0";

constexpr double kSwatchCornerRadius = 7.0;
const QColor kSwatchBorder = QColor::fromRgbF(1.0f, 1.0f, 1.0f, 0.15f);

// The swatches, left to right: each color and its name in words, which screen readers say.
struct Preset {
    const char* hex;
    const char* name;
};
constexpr Preset kPresets[] = {{"#1e1e2e", "dark blue-grey"}, {"#111111", "near black"}, {"#0d1117", "dark blue"},
                               {"#0d1f1e", "dark teal"},      {"#0d1a0d", "dark green"}, {"#1a0d10", "dark maroon"}};

std::array<Color, 6> presetColors()
{
    static_assert(std::size(kPresets) == 6);
    std::array<Color, 6> colors;
    for (std::size_t i = 0; i < colors.size(); ++i) colors[i] = Color::fromHex(QString::fromLatin1(kPresets[i].hex));
    return colors;
}

QColor hexColor(const char* hex)
{
    return Color::fromHex(QString::fromLatin1(hex)).toQColor();
}

// The tab view and the slider are the toolkit's own controls; on the dark fill they take dark
// faces and light titles, whatever the desktop's palette.
QPalette darkControlPalette()
{
    QPalette palette;
    const QColor face = hexColor("#3a3a3a");
    const QColor text = hexColor(kLabelColor);
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Window, hexColor(kRootFill));
        palette.setColor(group, QPalette::WindowText, text);
        palette.setColor(group, QPalette::Base, hexColor("#202020"));
        palette.setColor(group, QPalette::Text, text);
        palette.setColor(group, QPalette::Button, face);
        palette.setColor(group, QPalette::ButtonText, text);
        palette.setColor(group, QPalette::Light, hexColor("#4a4a4a"));
        palette.setColor(group, QPalette::Midlight, hexColor("#404040"));
        palette.setColor(group, QPalette::Mid, hexColor("#303030"));
        palette.setColor(group, QPalette::Dark, hexColor("#1c1c1c"));
        palette.setColor(group, QPalette::Shadow, hexColor("#101010"));
        palette.setColor(group, QPalette::Highlight, hexColor("#607080"));
        palette.setColor(group, QPalette::HighlightedText, Qt::white);
        palette.setColor(group, QPalette::ToolTipBase, face);
        palette.setColor(group, QPalette::ToolTipText, text);
    }
    return palette;
}

void place(QWidget& control, const Frame& frame)
{
    control.setGeometry(toQtGeometry(frame, kTabContentHeight));
}

// The slider position nearest to a lightness. A stored lightness outside the slider's range
// shows at the nearer end; the number itself is kept (in the store and in the sample's color)
// until the user moves the slider.
int sliderPosition(double lightness, double maximum)
{
    if (!std::isfinite(lightness)) return 0;
    const double held = std::clamp(lightness, 0.0, maximum);
    return int(std::lround(held * SettingsViewController::kSliderSteps));
}

}  // namespace

SettingsViewController::SettingsViewController(PreferenceStore& store, QObject* parent)
    : QObject(parent)
    , presets(presetColors())
    , m_store(store)
{
}

SettingsViewController::~SettingsViewController()
{
    if (m_view && !m_view->parent()) delete m_view.data();
}

QWidget* SettingsViewController::view()
{
    if (!m_view) {
        loadView();
        viewDidLoad();
    }
    return m_view.data();
}

void SettingsViewController::loadView()
{
    m_view = new QWidget;
    m_view->resize(kRootWidth, kRootHeight);
    m_view->setPalette(darkControlPalette());
    setBackgroundFill(*m_view, Color::fromHex(QString::fromLatin1(kRootFill)));
}

void SettingsViewController::viewDidLoad()
{
    buildUI();
}

void SettingsViewController::buildUI()
{
    // The tab view keeps a 6-pixel margin on every side and grows and shrinks with the root.
    auto* layout = new QVBoxLayout(m_view);
    layout->setContentsMargins(kTabMargin, kTabMargin, kTabMargin, kTabMargin);
    m_tabView = new QTabWidget;
    m_tabView->addTab(buildBackgroundTab(), QStringLiteral("Background Color"));
    m_tabView->addTab(buildTextTab(), QStringLiteral("Text Color"));
    m_tabView->widget(0)->setObjectName(QStringLiteral("bg"));
    m_tabView->widget(1)->setObjectName(QStringLiteral("text"));
    for (int i = 0; i < m_tabView->count(); ++i) m_tabView->widget(i)->setAccessibleName(m_tabView->tabText(i));
    layout->addWidget(m_tabView);
}

QWidget* SettingsViewController::buildBackgroundTab()
{
    auto* tab = new QWidget;
    tab->resize(260, int(kTabContentHeight));

    for (std::size_t i = 0; i < presets.size(); ++i) {
        auto* swatch = new SwatchButton(presets[i], kSwatchCornerRadius, kSwatchBorder, tab);
        place(*swatch, Frame{14.0 + 38.0 * double(i), 92, 30, 30});
        swatch->setToolTip(presets[i].hexString());  // also what screen readers give as its description
        swatch->setAccessibleName(QString::fromLatin1(kPresets[i].name));
        connect(swatch, &QPushButton::clicked, this, [this, swatch] { swatchClicked(swatch); });
        m_swatches[i] = swatch;
    }

    QLabel* custom = makeLabel(QStringLiteral("Custom color"), 11, false);
    custom->setParent(tab);
    place(*custom, Frame{14, 44, 100, 18});

    const Color stored = Color::fromHex(m_store.stringOrDefault(PreferenceKey::BgColor));
    m_colorWell = new ColorWell(stored, tab);
    m_colorWell->setAccessibleName(custom->text());
    m_colorWell->setAccessibleDescription(QStringLiteral("Opens a color chooser"));
    place(*m_colorWell, Frame{120, 40, 60, 26});
    connect(m_colorWell, &ColorWell::colorChanged, this, [this] { colorWellChanged(m_colorWell); });
    return tab;
}

QWidget* SettingsViewController::buildTextTab()
{
    auto* tab = new QWidget;
    tab->resize(260, int(kTabContentHeight));

    QLabel* heading = makeLabel(QStringLiteral("Lightness"), 12, true);
    heading->setParent(tab);
    place(*heading, Frame{14, 108, 200, 18});

    // Only a number counts; text or anything else under the key gives the default.
    const double v = m_store.number(PreferenceKey::TextColorValue).value_or(textDefault);

    m_textSlider = new QSlider(Qt::Horizontal, tab);
    m_textSlider->setRange(0, sliderPosition(textMax, textMax));
    m_textSlider->setSingleStep(10);
    m_textSlider->setPageStep(100);
    m_textSlider->setTracking(true);  // reports while dragged
    m_textSlider->setValue(sliderPosition(v, textMax));
    m_textSlider->setAccessibleName(QStringLiteral("Text lightness"));
    m_textSlider->setAccessibleDescription(QStringLiteral("From black to light grey, in thousandths"));
    place(*m_textSlider, Frame{14, 76, 232, 24});
    // Connected only now: setting the start position is not a choice and stores nothing.
    connect(m_textSlider, &QSlider::valueChanged, this, [this] { textSliderChanged(m_textSlider); });

    QLabel* black = makeLabel(QStringLiteral("Black"), 10, false);
    black->setParent(tab);
    place(*black, Frame{14, 58, 60, 14});

    QLabel* lightGrey = makeLabel(QStringLiteral("Light grey"), 10, false);
    lightGrey->setParent(tab);
    lightGrey->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    place(*lightGrey, Frame{176, 58, 70, 14});

    QLabel* sample = makeLabel(QStringLiteral("Sample text"), 16, true);
    sample->setParent(tab);
    sample->setAlignment(Qt::AlignCenter);
    place(*sample, Frame{14, 16, 232, 26});
    setTextColor(*sample, Color::grey(v));
    m_textPreview = sample;
    return tab;
}

QLabel* SettingsViewController::makeLabel(const QString& text, int size, bool bold) const
{
    auto* label = new QLabel(text);
    label->setFont(systemFont(size, bold));
    label->setTextFormat(Qt::PlainText);
    label->setAutoFillBackground(false);
    setTextColor(*label, Color::fromHex(QString::fromLatin1(kLabelColor)));
    return label;
}

void SettingsViewController::swatchClicked(QWidget* sender)
{
    const QString hex = sender ? sender->toolTip() : QString();
    if (hex.isEmpty()) return;
    const Color c = Color::fromHex(hex);
    if (onColorChanged) onColorChanged(c);
    m_store.setString(PreferenceKey::BgColor, hex);
}

void SettingsViewController::colorWellChanged(ColorWell* sender)
{
    const Color c = sender->color();
    if (onColorChanged) onColorChanged(c);
    m_store.setString(PreferenceKey::BgColor, c.hexString());
}

void SettingsViewController::textSliderChanged(QSlider* sender)
{
    const double v = double(sender->value()) / double(kSliderSteps);
    const Color c = Color::grey(v);
    setTextColor(*m_textPreview, c);
    if (onTextColorChanged) onTextColorChanged(c);
    m_store.setNumber(PreferenceKey::TextColorValue, v);
}

}  // namespace voveriz
