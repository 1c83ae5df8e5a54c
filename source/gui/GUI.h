#pragma once

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include "BrandLogoSimple.h"
#include "DialLookAndFeel.h"
#include "PanelStyle.h"
#include "UndoGestures.h"

#include <array>
#include <functional>
#include <initializer_list>
#include <memory>

class OndrelAudioProcessor;

// The channel-strip panel below the menu bar: the logo, two stereo level
// meters, five power buttons and 21 dials, each with a name label above it
// and an editable value read-out below it. The dials and buttons are bound
// to the processor's parameters, every gesture on them is one undo step, and
// a 22 ms timer refreshes the read-outs, the bypass visuals and the meters.
//
// The processor must outlive the panel.
class OndrelGUI : public juce::Component,
                  public juce::Timer
{
public:
    //==============================================================================
    // A titled card of the panel; its bounds are written by the layout and
    // read by the painting.
    struct SectionCard
    {
        juce::String title;
        juce::Rectangle<int> bounds;
    };

    // One stereo level meter: a caption and two bars fed by level sources
    // (linear, 1 = full scale) on a decibel scale up to maxDb.
    class MeterComponent : public juce::Component
    {
    public:
        MeterComponent (const juce::String& caption, std::function<float()> left, std::function<float()> right);

        void paint (juce::Graphics&) override;

        std::function<float()> leftLevel, rightLevel;
        juce::String label;
        float maxDb = 12.0f;
        bool isActive = true; // drawn dim, without bars, while the plug-in is bypassed

        // A linear level in dB as the scale shows it, within -60 dB and maxDb.
        float levelInDb (float linearLevel) const;
        // Position on the meter's scale, 0 at -60 dB to 1 at maxDb.
        float positionForDb (float dB) const;

    private:
        JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MeterComponent)
    };

    // A round power lamp attached to a bypass switch (toggled = bypassed).
    // onPress runs before the button takes the mouse-down and onRelease after
    // it has handled the mouse-up, so one click is one undo step holding the
    // switch change, and a press released outside changes nothing.
    class SectionPowerButton : public juce::Button
    {
    public:
        explicit SectionPowerButton (const juce::String& buttonName);

        static constexpr const char* lampAllowedProperty = "ondrelLampAllowed";

        std::function<void()> onPress, onRelease;

        void paintButton (juce::Graphics&, bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;
        void mouseDown (const juce::MouseEvent&) override;
        void mouseUp (const juce::MouseEvent&) override;

    private:
        JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SectionPowerButton)
    };

    //==============================================================================
    // The dials, in member order.
    enum DialIndex : int
    {
        inputDial, hpfDial, lowDial, midDial, highDial, airDial, lpfDial,
        thresholdDial, ratioDial, attackDial, releaseDial, makeupDial,
        deEssFreqDial, deEssAmountDial, driveDial, satMixDial,
        widthDial, sizeDial, dampDial, reverbMixDial,
        outputDial,
        numDials
    };

    // The power buttons, in the order main, tone, compression, character, space.
    enum Section : int
    {
        mainSection, toneSection, compSection, characterSection, spaceSection,
        numSections
    };

    enum CardIndex : int
    {
        inputCard, toneCard, compCard, characterCard, spaceCard, outputCard, levelsCard,
        numCards
    };

    explicit OndrelGUI (OndrelAudioProcessor&);
    ~OndrelGUI() override;

    void paint (juce::Graphics&) override;
    void resized() override;
    void timerCallback() override;

    // One card: shadow, body, rims, and its title with the rule under it,
    // both dimmed while the card's section (or the whole plug-in) is off.
    void drawSectionCard (juce::Graphics&, const SectionCard&);

    // A rounded outline round a group of dials, its top edge broken by the
    // group's title.
    static void drawConsoleGroup (juce::Graphics&, const juce::String& title, juce::Rectangle<float> area,
                                  float titleFontHeight, float cornerSize, float lineThickness);

    void configureSlider (juce::Slider&);
    static void configureValueLabel (juce::Label&);

    // Every read-out not being edited shows its dial's value.
    void updateValueLabels();

    // Lamps, dial lighting, read-out visibility and meter dimming follow the
    // bypass switches.
    void updateSectionVisualStates();
    void setSectionVisualState (bool lit, std::initializer_list<juce::Slider*>, std::initializer_list<juce::Label*>);

    // The dial row rule of the layout: cells of equal width across the area,
    // each with its name label on top, its dial below and its read-out over
    // the dial's lower part.
    static void layoutUniformKnobRowWithValues (juce::Rectangle<float> area,
                                                std::initializer_list<juce::Slider*>,
                                                std::initializer_list<juce::Label*> nameLabelsOfRow,
                                                std::initializer_list<juce::Label*> valueLabelsOfRow);

    //==============================================================================
    juce::Slider& getDial (int index) { return dials[(size_t) index]; }
    juce::Label& getNameLabel (int index) { return nameLabels[(size_t) index]; }
    juce::Label& getValueLabel (int index) { return valueLabels[(size_t) index]; }
    SectionPowerButton& getPowerButton (Section);
    MeterComponent& getInputMeter() noexcept { return inputMeter; }
    MeterComponent& getOutputMeter() noexcept { return outputMeter; }
    BrandLogoSimple& getBrandLogo() noexcept { return brandLogo; }
    const SectionCard& getCard (int index) const { return cards[(size_t) index]; }
    juce::Rectangle<float> getHeaderArea() const noexcept { return headerArea; }
    UndoGestures& getUndoGestures() noexcept { return undoGestures; }

    static constexpr int timerIntervalMs = 22;

private:
    bool isSwitchOn (const char* parameterID) const;
    bool isCardDimmed (const SectionCard&) const;
    // main, tone, compression, character, space as five bits, main highest.
    int switchesShown() const;
    // Background, chassis, header, cards and groups: everything but the children.
    void paintFace (juce::Graphics&);

    OndrelAudioProcessor& processor;
    UndoGestures undoGestures { processor };

    BrandLogoSimple brandLogo;
    juce::Rectangle<float> headerArea;
    MeterComponent inputMeter, outputMeter;
    SectionPowerButton mainPowerButton { "Main Power" };
    SectionPowerButton tonePowerButton { "Tone Power" };
    SectionPowerButton compPowerButton { "Compression Power" };
    SectionPowerButton characterPowerButton { "Character Power" };
    SectionPowerButton spacePowerButton { "Space Power" };

    std::array<juce::Slider, numDials> dials;
    std::array<juce::Label, numDials> nameLabels;
    std::array<juce::Label, numDials> valueLabels;

    // Declared after the controls, so they go before the dials and buttons
    // they observe.
    std::array<std::unique_ptr<juce::AudioProcessorValueTreeState::SliderAttachment>, numDials> sliderAttachments;
    std::array<std::unique_ptr<juce::AudioProcessorValueTreeState::ButtonAttachment>, numSections> buttonAttachments;

    std::array<SectionCard, numCards> cards;

    // The five switches as the header and cards last showed them, one bit
    // each (main first); -1 until the first update.
    int shownSwitches = -1;

    // The face as last painted, and what it was painted with.
    juce::Image faceCache;
    int faceCacheSwitches = -1;
    float faceCacheMarkFontHeight = 0.0f;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OndrelGUI)
};
