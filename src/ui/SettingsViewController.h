#pragma once

#include "appearance/Color.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <array>
#include <functional>

class QLabel;
class QSlider;
class QTabWidget;
class QWidget;

namespace voveriz {

class ColorWell;
class PreferenceStore;
class SwatchButton;

// The content of the settings popover: a "Background Color" tab (six preset swatches and a
// color well) and a "Text Color" tab (a lightness slider with a live sample). It knows nothing
// of the main window: each choice goes out through the two callbacks first, so the window is
// repainted, and is then written to the store (bgColor, textColorValue). The store is read
// once, when the view is built.
class SettingsViewController : public QObject {
    Q_OBJECT

public:
    using ColorCallback = std::function<void(const Color&)>;

    explicit SettingsViewController(PreferenceStore& store, QObject* parent = nullptr);
    ~SettingsViewController() override;

    // Called with each background color and each text color the user picks; may be empty.
    ColorCallback onColorChanged;
    ColorCallback onTextColorChanged;

    // The swatches, left to right.
    const std::array<Color, 6> presets;
    // The slider's maximum: the text never becomes pure white here.
    const double textMax = 0.9;
    // The lightness when none is stored.
    const double textDefault = 0.878;

    // The root view, 280 x 200, filled with #2a2a2a. The first call builds it and every control,
    // reading the store. Whoever shows it may take it over; otherwise the controller deletes it.
    QWidget* view();
    bool isViewLoaded() const { return !m_view.isNull(); }

    // The controls, for whoever shows or checks them; null before the view is built.
    QTabWidget* tabView() const { return m_tabView; }
    const std::array<SwatchButton*, 6>& swatches() const { return m_swatches; }
    ColorWell* colorWell() const { return m_colorWell; }
    QSlider* textSlider() const { return m_textSlider; }
    // The "Sample text" label.
    QLabel* textPreview() const { return m_textPreview; }

    // The slider's positions: the lightness in thousandths, 0 to 900.
    static constexpr int kSliderSteps = 1000;

public slots:
    void swatchClicked(QWidget* sender);
    void colorWellChanged(voveriz::ColorWell* sender);
    void textSliderChanged(QSlider* sender);

private:
    void loadView();
    void viewDidLoad();
    void buildUI();
    QWidget* buildBackgroundTab();
    QWidget* buildTextTab();
    QLabel* makeLabel(const QString& text, int size, bool bold) const;

    PreferenceStore& m_store;
    QPointer<QWidget> m_view;
    QTabWidget* m_tabView = nullptr;
    std::array<SwatchButton*, 6> m_swatches{};
    ColorWell* m_colorWell = nullptr;
    QSlider* m_textSlider = nullptr;
    QLabel* m_textPreview = nullptr;
};

}  // namespace voveriz
