#include "GUI.h"

#include "../ParameterIDs.h"
#include "../PluginProcessor.h"
#include "ValueLabels.h"

#include <cmath>

namespace
{
struct DialInfo
{
    const char* labelText;
    const char* name;      // keys the read-out format and names the undo steps
    const char* parameterID;
};

// In member order (OndrelGUI::DialIndex).
const DialInfo kDials[OndrelGUI::numDials] = {
    { "Input",     "input",     ParamIDs::inputGain },
    { "HPF",       "hpf",       ParamIDs::hpfFreq },
    { "Low",       "low",       ParamIDs::lowGain },
    { "Mid",       "mid",       ParamIDs::midGain },
    { "High",      "high",      ParamIDs::highGain },
    { "Air",       "air",       ParamIDs::airGain },
    { "LPF",       "lpf",       ParamIDs::lpfFreq },
    { "Threshold", "threshold", ParamIDs::compThresh },
    { "Ratio",     "ratio",     ParamIDs::compRatio },
    { "Attack",    "attack",    ParamIDs::compAttack },
    { "Release",   "release",   ParamIDs::compRelease },
    { "Makeup",    "makeup",    ParamIDs::compMakeup },
    { "Freq",      "freq",      ParamIDs::deEssFreq },
    { "Amount",    "amount",    ParamIDs::deEssAmount },
    { "Drive",     "drive",     ParamIDs::satDrive },
    { "Mix",       "mix",       ParamIDs::satMix },
    { "Width",     "width",     ParamIDs::width },
    { "Size",      "size",      ParamIDs::reverbSize },
    { "Damp",      "damp",      ParamIDs::reverbDamping },
    { "Mix",       "mix",       ParamIDs::reverbMix },
    { "Output",    "output",    ParamIDs::outputGain },
};

struct ButtonInfo
{
    const char* sectionWord; // names the undo step and the tooltip
    const char* parameterID;
};

// In the order main, tone, compression, character, space.
const ButtonInfo kButtons[OndrelGUI::numSections] = {
    { "Ondrel",      ParamIDs::mainBypass },
    { "Tone",        ParamIDs::toneBypass },
    { "Compression", ParamIDs::compBypass },
    { "Character",   ParamIDs::characterBypass },
    { "Space",       ParamIDs::spaceBypass },
};

const char* const kCardTitles[OndrelGUI::numCards] = { "Input", "Tone", "Compression", "Character",
                                                       "Space", "Output", "Levels" };

// Layout values round to nearest with halves away from zero.
int roundHalf (float v) { return (int) std::round (v); }

// The rectangle shrunk by d on every side, never to a negative size.
juce::Rectangle<float> reducedBy (juce::Rectangle<float> r, float d)
{
    return { r.getX() + d, r.getY() + d, juce::jmax (r.getWidth() - 2.0f * d, 0.0f), juce::jmax (r.getHeight() - 2.0f * d, 0.0f) };
}

// The brand plate at the left end of the header; the logo sits on it.
juce::Rectangle<float> brandPlateArea (juce::Rectangle<float> R)
{
    return { R.getX() + 0.014f * R.getWidth(), R.getY() + 0.5f * R.getHeight() - 0.34f * R.getHeight(),
             0.205f * R.getWidth(), 0.68f * R.getHeight() };
}

// The part of a card below its title band where its dials sit.
juce::Rectangle<float> rowAreaOf (juce::Rectangle<int> card)
{
    const auto cx = (float) card.getX(), cy = (float) card.getY();
    const auto cw = (float) card.getWidth(), ch = (float) card.getHeight();

    const auto x = cx + 0.035f * cw;
    const auto w = juce::jmax (cw - 2.0f * (0.035f * cw), 0.0f);
    const auto y0 = cy + 0.045f * ch;
    const auto h0 = juce::jmax (ch - 2.0f * (0.045f * ch), 0.0f);

    const auto t = juce::jmin (h0, 0.17f * ch);
    const auto h1 = h0 - t;
    const auto gp = juce::jmin (h1, 0.06f * h1);

    return { x, y0 + t + gp, w, h1 - gp };
}

// One Tone dial cell: name label above the row top, the dial, and a
// read-out a quarter wider than the dial, centred under it.
void placeToneCell (float x, float cellWidth, float rowTop, float rowHeight,
                    juce::Slider& dial, juce::Label& name, juce::Label& value)
{
    name.setBounds (roundHalf (x), (int) std::round ((double) rowTop - 0.1 * (double) rowHeight),
                    roundHalf (cellWidth), roundHalf (0.2f * rowHeight));
    dial.setBounds (roundHalf (x), roundHalf (rowTop + 0.1f * rowHeight), roundHalf (cellWidth), roundHalf (0.8f * rowHeight));

    const auto vw = 1.25f * cellWidth;
    value.setBounds (roundHalf (x + 0.5f * cellWidth - 0.5f * vw), roundHalf (rowTop + 0.78f * rowHeight),
                     roundHalf (vw), roundHalf (0.3f * rowHeight));
}
} // namespace

//==============================================================================
OndrelGUI::OndrelGUI (OndrelAudioProcessor& p)
    : processor (p),
      inputMeter ("Input",
                  [&p] { return p.inputLevelLeft.load(); },
                  [&p] { return p.inputLevelRight.load(); }),
      outputMeter ("Output",
                   [&p] { return p.outputLevelLeft.load(); },
                   [&p] { return p.outputLevelRight.load(); })
{
    for (size_t i = 0; i < cards.size(); ++i)
        cards[i].title = kCardTitles[i];

    addAndMakeVisible (brandLogo);
    addAndMakeVisible (inputMeter);
    addAndMakeVisible (outputMeter);

    for (int s = 0; s < numSections; ++s)
    {
        auto& button = getPowerButton ((Section) s);
        const juce::String word (kButtons[s].sectionWord);

        button.setTooltip (word + " section power");
        button.onPress = [this, word] { undoGestures.begin (word + " Power"); };
        button.onRelease = [this] { undoGestures.commit(); };
        addAndMakeVisible (button);
    }

    mainPowerButton.setTooltip ("Ondrel main power");

    for (size_t i = 0; i < dials.size(); ++i)
    {
        configureSlider (dials[i]);

        auto& name = nameLabels[i];
        name.setText (kDials[i].labelText, juce::dontSendNotification);
        name.setJustificationType (juce::Justification::centred);
        name.setColour (juce::Label::textColourId, withAlphaByte (kTextSecondary, 0xf5));

        addAndMakeVisible (dials[i]);
        addAndMakeVisible (name);
    }

    for (auto& label : valueLabels)
    {
        configureValueLabel (label);
        addAndMakeVisible (label);
    }

    for (size_t i = 0; i < dials.size(); ++i)
        dials[i].setName (kDials[i].name);

    for (size_t i = 0; i < dials.size(); ++i)
        sliderAttachments[i] = std::make_unique<juce::AudioProcessorValueTreeState::SliderAttachment> (
            processor.apvts, kDials[i].parameterID, dials[i]);

    for (int s = 0; s < numSections; ++s)
        buttonAttachments[(size_t) s] = std::make_unique<juce::AudioProcessorValueTreeState::ButtonAttachment> (
            processor.apvts, kButtons[s].parameterID, getPowerButton ((Section) s));

    for (size_t i = 0; i < dials.size(); ++i)
        bindEditableValueLabel (valueLabels[i], dials[i], undoGestures);

    updateValueLabels();
    updateSectionVisualStates();

    startTimer (timerIntervalMs);
}

OndrelGUI::~OndrelGUI()
{
    stopTimer();

    // The shared look-and-feel outlives this panel; the dials must not keep
    // pointing at it from their graves.
    for (auto& dial : dials)
        dial.setLookAndFeel (nullptr);
}

OndrelGUI::SectionPowerButton& OndrelGUI::getPowerButton (Section section)
{
    switch (section)
    {
        case toneSection:      return tonePowerButton;
        case compSection:      return compPowerButton;
        case characterSection: return characterPowerButton;
        case spaceSection:     return spacePowerButton;
        case mainSection:
        case numSections:
        default:               return mainPowerButton;
    }
}

//==============================================================================
void OndrelGUI::configureSlider (juce::Slider& slider)
{
    slider.setLookAndFeel (&getDialLnf());
    slider.setSliderStyle (juce::Slider::RotaryHorizontalVerticalDrag);
    slider.setTextBoxStyle (juce::Slider::NoTextBox, false, 0, 0);
    slider.setNumDecimalPlacesToDisplay (1);

    // The name is read when the drag starts, so it is the dial's name of the moment.
    slider.onDragStart = [this, &slider] { undoGestures.begin ("Adjust " + slider.getName()); };
    slider.onDragEnd = [this] { undoGestures.commit(); };
}

void OndrelGUI::configureValueLabel (juce::Label& label)
{
    label.setJustificationType (juce::Justification::centred);
    label.setColour (juce::Label::textColourId, withAlphaByte (kTextMain, 0xfa));
    label.setColour (juce::Label::backgroundColourId, juce::Colours::transparentBlack);
    label.setColour (juce::Label::backgroundWhenEditingColourId, juce::Colour (0x640e141c));
    label.setColour (juce::Label::outlineColourId, juce::Colours::transparentBlack);
    label.setColour (juce::TextEditor::textColourId, kTextMain);
    label.setColour (juce::TextEditor::backgroundColourId, juce::Colour (0x6e0e141c));
    label.setColour (juce::TextEditor::highlightColourId, juce::Colour (0x464eff24));
    label.setColour (juce::TextEditor::outlineColourId, juce::Colours::transparentBlack);
    label.setBorderSize (juce::BorderSize<int> (1, 10, 1, 10));
    label.setMinimumHorizontalScale (0.7f);
    label.setEditable (true, true, false);
}

//==============================================================================
void OndrelGUI::timerCallback()
{
    updateValueLabels();
    updateSectionVisualStates();
    inputMeter.repaint();
    outputMeter.repaint();
}

void OndrelGUI::updateValueLabels()
{
    for (size_t i = 0; i < dials.size(); ++i)
        if (! valueLabels[i].isBeingEdited())
            valueLabels[i].setText (formatSliderValue (dials[i]), juce::dontSendNotification);
}

bool OndrelGUI::isSwitchOn (const char* parameterID) const
{
    const auto* raw = processor.apvts.getRawParameterValue (parameterID);
    return raw != nullptr && raw->load() >= 0.5f;
}

void OndrelGUI::updateSectionVisualStates()
{
    const bool mainOn = ! isSwitchOn (ParamIDs::mainBypass);
    const bool toneOn = mainOn && ! isSwitchOn (ParamIDs::toneBypass);
    const bool compOn = mainOn && ! isSwitchOn (ParamIDs::compBypass);
    const bool characterOn = mainOn && ! isSwitchOn (ParamIDs::characterBypass);
    const bool spaceOn = mainOn && ! isSwitchOn (ParamIDs::spaceBypass);

    // Only what changed is set and repainted: repainting unchanged lamps,
    // dials, header and cards on every tick would redraw most of the window
    // 45 times a second for a picture that stays the same.
    for (auto* button : { &tonePowerButton, &compPowerButton, &characterPowerButton, &spacePowerButton })
    {
        auto& lampProperties = button->getProperties();

        if (! lampProperties.contains (SectionPowerButton::lampAllowedProperty)
            || (bool) lampProperties[SectionPowerButton::lampAllowedProperty] != mainOn)
        {
            lampProperties.set (SectionPowerButton::lampAllowedProperty, mainOn);
            button->repaint();
        }
    }

    auto dial = [this] (int i) { return &dials[(size_t) i]; };
    auto value = [this] (int i) { return &valueLabels[(size_t) i]; };

    setSectionVisualState (mainOn, { dial (inputDial), dial (outputDial) }, { value (inputDial), value (outputDial) });
    setSectionVisualState (toneOn,
                           { dial (hpfDial), dial (lowDial), dial (midDial), dial (highDial), dial (airDial), dial (lpfDial) },
                           { value (hpfDial), value (lowDial), value (midDial), value (highDial), value (airDial), value (lpfDial) });
    setSectionVisualState (compOn,
                           { dial (thresholdDial), dial (ratioDial), dial (attackDial), dial (releaseDial), dial (makeupDial) },
                           { value (thresholdDial), value (ratioDial), value (attackDial), value (releaseDial), value (makeupDial) });
    setSectionVisualState (characterOn,
                           { dial (deEssFreqDial), dial (deEssAmountDial), dial (driveDial), dial (satMixDial) },
                           { value (deEssFreqDial), value (deEssAmountDial), value (driveDial), value (satMixDial) });
    setSectionVisualState (spaceOn,
                           { dial (widthDial), dial (sizeDial), dial (dampDial), dial (reverbMixDial) },
                           { value (widthDial), value (sizeDial), value (dampDial), value (reverbMixDial) });

    for (auto* meter : { &inputMeter, &outputMeter })
    {
        if (meter->isActive != mainOn)
        {
            meter->isActive = mainOn;
            meter->repaint();
        }
    }

    // The header lines and card titles show the five switches; they are
    // repainted when one of them has changed since the last tick.
    const auto switches = switchesShown();

    if (switches != shownSwitches)
    {
        shownSwitches = switches;
        repaint (headerArea.getSmallestIntegerContainer());

        for (const auto& card : cards)
            repaint (card.bounds);
    }
}

void OndrelGUI::setSectionVisualState (bool lit, std::initializer_list<juce::Slider*> sliders,
                                       std::initializer_list<juce::Label*> labels)
{
    for (auto* s : sliders)
    {
        if (s == nullptr)
            continue;

        auto& dialProperties = s->getProperties();

        if (! dialProperties.contains (DialLookAndFeel::litProperty) || (bool) dialProperties[DialLookAndFeel::litProperty] != lit)
        {
            dialProperties.set (DialLookAndFeel::litProperty, lit);
            s->repaint();
        }
    }

    // A label repaints itself when it is shown or hidden.
    for (auto* l : labels)
        if (l != nullptr)
            l->setVisible (lit);
}

//==============================================================================
void OndrelGUI::resized()
{
    const auto W = (float) getWidth();
    const auto H = (float) getHeight();
    const auto m = juce::jmin (W, H);

    gSliderValueFontHeight = 0.021f * m;
    gConsoleMarkFontHeight = 0.0175f * m;
    gRotaryStrokeWidth = 0.0045f * m;
    gRotaryGlowWidth1 = 0.0135f * m;
    gRotaryGlowWidth2 = 0.008f * m;
    gTickThicknessMajor = 0.0016f * m;
    gTickThicknessMinor = 0.0013f * m;
    gTickLengthMajor = 0.0075f * m;
    gTickLengthMinor = 0.0045f * m;

    headerArea = juce::Rectangle<int> (roundHalf (0.025f * W), roundHalf (0.026f * H),
                                       roundHalf (0.95000005f * W), roundHalf (0.09f * H)).toFloat();

    struct CardFractions
    {
        float x, y, w, h;
    };

    static constexpr CardFractions fractions[numCards] = {
        { 0.025f, 0.135f, 0.125f, 0.41f },       { 0.162f, 0.135f, 0.263f, 0.41f },
        { 0.437f, 0.135f, 0.42599997f, 0.41f },  { 0.025f, 0.565f, 0.4f, 0.41f },
        { 0.437f, 0.565f, 0.28899997f, 0.41f },  { 0.738f, 0.565f, 0.125f, 0.41f },
        { 0.875f, 0.135f, 0.1f, 0.84000003f },
    };

    for (size_t i = 0; i < cards.size(); ++i)
        cards[i].bounds = { roundHalf (fractions[i].x * W), roundHalf (fractions[i].y * H),
                            roundHalf (fractions[i].w * W), roundHalf (fractions[i].h * H) };

    {
        const auto s = roundHalf (0.043f * H), gap = roundHalf (0.016f * H), d = roundHalf (0.006f * H);
        const std::pair<SectionPowerButton*, int> onCards[] = {
            { &tonePowerButton, toneCard }, { &compPowerButton, compCard },
            { &characterPowerButton, characterCard }, { &spacePowerButton, spaceCard } };

        for (const auto& [button, card] : onCards)
        {
            const auto& b = cards[(size_t) card].bounds;
            button->setBounds (b.getX() + b.getWidth() - (gap + s), b.getY() + d, s, s);
        }
    }

    const auto R = headerArea;
    {
        const auto s = roundHalf (0.68f * R.getHeight());
        mainPowerButton.setBounds (roundHalf (R.getX() + R.getWidth()) - (roundHalf (0.018f * R.getWidth()) + s),
                                   roundHalf (R.getY() + 0.5f * R.getHeight() - 0.5f * (float) s), s, s);
    }

    {
        const auto plate = brandPlateArea (R);
        const auto a = juce::jmin (0.22f * plate.getWidth(), 0.82f * plate.getHeight());
        brandLogo.setBounds (juce::roundToInt (plate.getX() + 0.035f * plate.getWidth()),
                             juce::roundToInt (plate.getY() + 0.5f * plate.getHeight() - 0.5f * a),
                             juce::roundToInt (a), juce::roundToInt (a));
    }

    {
        const auto& L = cards[levelsCard].bounds;
        const auto x = L.getX() + roundHalf (0.012f * W);
        const auto width = L.getWidth() - roundHalf (0.024f * W);
        const auto y0 = L.getY() + roundHalf (0.07f * H);
        const auto av = L.getHeight() - roundHalf (0.09f * H);
        const auto q = roundHalf (0.03f * H);
        const auto e = (av - q) / 2;
        const auto hi = juce::jmin (av, e);
        inputMeter.setBounds (x, y0, width, hi);

        const auto r = av - hi;
        const auto k = juce::jmin (r, q);
        outputMeter.setBounds (x, y0 + hi + k, width, juce::jmin (r - k, e));
    }

    const juce::Font nameFont (0.0253f * m, juce::Font::plain);
    const juce::Font valueFont (0.0215f * m, juce::Font::plain);

    for (auto& l : nameLabels)
        if (l.getFont() != nameFont)
            l.setFont (nameFont);

    for (auto& l : valueLabels)
        if (l.getFont() != valueFont)
            l.setFont (valueFont);

    auto d = [this] (int i) { return &dials[(size_t) i]; };
    auto n = [this] (int i) { return &nameLabels[(size_t) i]; };
    auto v = [this] (int i) { return &valueLabels[(size_t) i]; };

    layoutUniformKnobRowWithValues (rowAreaOf (cards[inputCard].bounds), { d (inputDial) }, { n (inputDial) }, { v (inputDial) });

    {
        const auto& b = cards[toneCard].bounds;
        const auto cx = (float) b.getX(), cy = (float) b.getY(), cw = (float) b.getWidth(), ch = (float) b.getHeight();
        const auto X = cx + 0.055f * cw;
        const auto IW = cw - 0.055f * cw - 0.055f * cw;
        const auto T = cy + 0.165f * ch;
        const auto IH = ch - 0.165f * ch - 0.07f * ch;

        {
            const auto rh = 0.43f * IH, cwid = 0.24f * IW, gap = 0.08f * IW;
            const auto x0 = (IW - (2.0f * cwid + gap)) * 0.5f + X;
            placeToneCell (x0, cwid, T, rh, dials[hpfDial], nameLabels[hpfDial], valueLabels[hpfDial]);
            placeToneCell (x0 + cwid + gap, cwid, T, rh, dials[lpfDial], nameLabels[lpfDial], valueLabels[lpfDial]);
        }

        {
            const auto t = T + 0.55f * IH, rh = 0.42f * IH, gq = 0.04f * IW;
            const auto cwid = (IW - 3.0f * gq) * 0.25f;
            const int eq[] = { lowDial, midDial, highDial, airDial };

            for (int k = 0; k < 4; ++k)
                placeToneCell (X + (float) k * (cwid + gq), cwid, t, rh,
                               dials[(size_t) eq[k]], nameLabels[(size_t) eq[k]], valueLabels[(size_t) eq[k]]);
        }
    }

    layoutUniformKnobRowWithValues (rowAreaOf (cards[compCard].bounds),
                                    { d (thresholdDial), d (ratioDial), d (attackDial), d (releaseDial), d (makeupDial) },
                                    { n (thresholdDial), n (ratioDial), n (attackDial), n (releaseDial), n (makeupDial) },
                                    { v (thresholdDial), v (ratioDial), v (attackDial), v (releaseDial), v (makeupDial) });

    {
        const auto row = rowAreaOf (cards[characterCard].bounds);
        const auto dw = juce::jmin (row.getWidth(), 0.48f * row.getWidth());
        const auto rw = row.getWidth() - dw;
        const auto gw = juce::jmin (rw, 0.04f * rw);

        layoutUniformKnobRowWithValues (row.withWidth (dw), { d (deEssFreqDial), d (deEssAmountDial) },
                                        { n (deEssFreqDial), n (deEssAmountDial) }, { v (deEssFreqDial), v (deEssAmountDial) });
        layoutUniformKnobRowWithValues ({ row.getX() + dw + gw, row.getY(), rw - gw, row.getHeight() },
                                        { d (driveDial), d (satMixDial) }, { n (driveDial), n (satMixDial) },
                                        { v (driveDial), v (satMixDial) });
    }

    layoutUniformKnobRowWithValues (rowAreaOf (cards[spaceCard].bounds),
                                    { d (widthDial), d (sizeDial), d (dampDial), d (reverbMixDial) },
                                    { n (widthDial), n (sizeDial), n (dampDial), n (reverbMixDial) },
                                    { v (widthDial), v (sizeDial), v (dampDial), v (reverbMixDial) });

    layoutUniformKnobRowWithValues (rowAreaOf (cards[outputCard].bounds), { d (outputDial) }, { n (outputDial) }, { v (outputDial) });

    faceCache = {};
    updateValueLabels();
    repaint();
}

void OndrelGUI::layoutUniformKnobRowWithValues (juce::Rectangle<float> area,
                                                std::initializer_list<juce::Slider*> sliders,
                                                std::initializer_list<juce::Label*> names,
                                                std::initializer_list<juce::Label*> values)
{
    if (sliders.size() != names.size() || sliders.size() != values.size() || sliders.size() == 0)
        return;

    const auto x = area.getX(), y = area.getY(), w = area.getWidth(), h = area.getHeight();
    const auto c = w / (float) sliders.size();
    const auto kw = roundHalf (c);
    const auto kv = (float) ((double) kw * 0.8);
    const auto vw = roundHalf (kv);

    auto slider = sliders.begin();
    auto name = names.begin();
    auto value = values.begin();

    for (int i = 0; slider != sliders.end(); ++i, ++slider, ++name, ++value)
    {
        const auto xi = x + (float) i * c;
        (*name)->setBounds (roundHalf (xi), roundHalf (y), kw, roundHalf (0.1f * h));
        (*slider)->setBounds (roundHalf (xi), roundHalf (y + 0.055f * h), kw, roundHalf (0.66f * h));
        (*value)->setBounds (roundHalf (xi + 0.5f * c - 0.5f * kv), roundHalf (y + 0.67f * h), vw, roundHalf (0.12f * h));
    }
}

//==============================================================================
int OndrelGUI::switchesShown() const
{
    int switches = 0;
    for (const auto& button : kButtons)
        switches = (switches << 1) | (isSwitchOn (button.parameterID) ? 1 : 0);
    return switches;
}

void OndrelGUI::paint (juce::Graphics& g)
{
    // The face only changes with the size and the switches, but the meters
    // over it repaint 45 times a second: keep it as a picture and copy the
    // part under them. Copying is exact only pixel for pixel, so a scaled
    // context (a high-density display) paints the face itself.
    const auto scale = g.getInternalContext().getPhysicalPixelScaleFactor();

    if (std::abs (scale - 1.0f) > 1.0e-4f || getWidth() <= 0 || getHeight() <= 0)
    {
        paintFace (g);
        return;
    }

    const auto switches = switchesShown();

    if (! faceCache.isValid() || faceCache.getWidth() != getWidth() || faceCache.getHeight() != getHeight()
        || switches != faceCacheSwitches || gConsoleMarkFontHeight != faceCacheMarkFontHeight)
    {
        faceCache = juce::Image (juce::Image::ARGB, getWidth(), getHeight(), false);
        juce::Graphics cacheGraphics (faceCache);
        paintFace (cacheGraphics);
        faceCacheSwitches = switches;
        faceCacheMarkFontHeight = gConsoleMarkFontHeight;
    }

    g.drawImageAt (faceCache, 0, 0);
}

void OndrelGUI::paintFace (juce::Graphics& g)
{
    const auto W = (float) getWidth();
    const auto H = (float) getHeight();
    const auto m = juce::jmin (W, H);
    const auto R = headerArea;

    {
        juce::ColourGradient background (kBgTop, 0.0f, 0.0f, kBgBottom, 0.0f, H, false);
        background.addColour (0.46, kBgMid);
        g.setGradientFill (background);
        g.fillAll();
    }

    // The raised chassis.
    {
        const juce::Rectangle<float> C (0.0125f * W, 0.0125f * H, 0.975f * W, 0.975f * H);
        const auto cr = 0.018f * m;

        g.setColour (juce::Colours::black.withAlpha ((juce::uint8) 0x85));
        g.fillRoundedRectangle (C.translated (0.0f, 0.003f * H), cr);

        juce::ColourGradient body (kChassisTop, C.getCentreX(), C.getY(), kPanelOuter, C.getCentreX(), C.getBottom(), false);
        body.addColour (0.28, kChassisMid);
        g.setGradientFill (body);
        g.fillRoundedRectangle (C, cr);

        g.setGradientFill (juce::ColourGradient (kChassisSheen, C.getCentreX(), C.getY(), juce::Colour (0x00ffffffu),
                                                 C.getCentreX(), C.getY() + C.getHeight() * 0.5f, false));
        g.fillRoundedRectangle (reducedBy (C, 1.5f), cr - 1.0f);

        g.setColour (kPanelOutline);
        g.drawRoundedRectangle (C, cr, juce::jmax (0.0014f * H, 1.0f));
        g.setColour (juce::Colour (0x0bffffffu));
        g.drawRoundedRectangle (reducedBy (C, 2.0f), cr - 1.0f, juce::jmax (0.0007f * H, 0.7f));
    }

    // What lies wholly outside the area being repainted is skipped: on a
    // timer tick that is only the meters.
    const bool headerVisible = g.clipRegionIntersects (R.expanded (0.0f, 0.0018f * H).expanded (2.0f).getSmallestIntegerContainer());

    // The header strip.
    if (headerVisible)
    {
        const auto hc = 0.014f * H;

        g.setColour (juce::Colours::black.withAlpha ((juce::uint8) 0x4c));
        g.fillRoundedRectangle (R.translated (0.0f, 0.0018f * H), hc);
        g.setGradientFill (juce::ColourGradient (kHeaderTop, R.getCentreX(), R.getY(), kHeaderBottom,
                                                 R.getCentreX(), R.getBottom(), false));
        g.fillRoundedRectangle (R, hc);
        g.setColour (withAlphaByte (kPanelOutline, 0xf2));
        g.drawRoundedRectangle (R, hc, juce::jmax (0.0011f * H, 1.0f));
        g.setColour (juce::Colour (0x0affffffu));
        g.drawRoundedRectangle (reducedBy (R, 1.4f), 0.012f * H, juce::jmax (0.00065f * H, 0.6f));
    }

    // The brand plate, with the maker's name right of the logo.
    const auto P = brandPlateArea (R);

    if (headerVisible)
    {
        const auto pc = 0.01f * H;

        g.setColour (juce::Colours::black.withAlpha ((juce::uint8) 0x52));
        g.fillRoundedRectangle (P.translated (0.0f, 1.0f), pc);
        g.setGradientFill (juce::ColourGradient (kBrandPlateTop, P.getCentreX(), P.getY(), kBrandPlateBottom,
                                                 P.getCentreX(), P.getBottom(), false));
        g.fillRoundedRectangle (P, pc);
        g.setColour (withAlphaByte (kCardEdge, 0xe0));
        g.drawRoundedRectangle (P, pc, juce::jmax (0.001f * H, 0.8f));

        const auto lr = (float) brandLogo.getRight();
        g.setColour (withAlphaByte (kTextMain, 0xf5));
        g.setFont (juce::Font (0.0208f * H, juce::Font::bold));
        g.drawFittedText ("QUILLET AUDIO",
                          juce::roundToInt (lr + 0.008f * R.getWidth()), juce::roundToInt (P.getY()),
                          juce::roundToInt (P.getX() + P.getWidth() - lr - 0.02f * R.getWidth()),
                          juce::roundToInt (P.getHeight()), juce::Justification::centredLeft, 1);
    }

    // Title, subtitle and the two accent lines beside it.
    if (headerVisible)
    {
        const auto I = juce::Rectangle<float> (R.getX() + 0.25f * R.getWidth(), R.getY() + 0.1f * R.getHeight(),
                                               juce::jmax (R.getWidth() - 2.0f * (0.25f * R.getWidth()), 0.0f),
                                               juce::jmax (R.getHeight() - 2.0f * (0.1f * R.getHeight()), 0.0f));
        const auto ty = I.getY() - 0.07f * R.getHeight();

        g.setColour (kTextMain);
        g.setFont (juce::Font (0.042f * H, juce::Font::bold));
        g.drawFittedText ("Ondrel", juce::roundToInt (I.getX()), juce::roundToInt (ty), juce::roundToInt (I.getWidth()),
                          juce::roundToInt (I.getHeight()), juce::Justification::centred, 1);

        const auto sy = ty + I.getHeight() * 0.5f + 0.21f * R.getHeight();
        const auto sh = 0.22f * R.getHeight();

        g.setColour (withAlphaByte (kTextSecondary, 0xeb));
        g.setFont (juce::Font (0.012f * H, juce::Font::bold));
        g.drawFittedText ("VOCAL CHANNEL STRIP", juce::roundToInt (I.getX()), juce::roundToInt (sy),
                          juce::roundToInt (I.getWidth()), juce::roundToInt (sh), juce::Justification::centred, 1);

        g.setColour (isSwitchOn (ParamIDs::mainBypass) ? withAlphaByte (kCardEdge, 0x6b)
                                                       : withAlphaByte (kAccentBright, 0x8c));
        const auto cx = I.getX() + I.getWidth() * 0.5f;
        const auto ly = (float) juce::roundToInt (sy + 0.11f * R.getHeight());
        const auto lw = 0.062f * R.getWidth();

        if (lw > 0.0f)
        {
            g.fillRect (juce::Rectangle<float> (cx - 0.048f * R.getWidth() - lw, ly, lw, 1.0f));
            g.fillRect (juce::Rectangle<float> (cx + 0.048f * R.getWidth(), ly, lw, 1.0f));
        }
    }

    for (const auto& card : cards)
        drawSectionCard (g, card);

    // Titled outlines round the groups of dials inside the cards.
    {
        const auto corner = 0.014f * H;
        const auto thickness = juce::jmax (0.0019f * H, 1.0f);

        auto area = [this] (int card, float fx, float fy, float fw, float fh)
        {
            const auto b = cards[(size_t) card].bounds.toFloat();
            return juce::Rectangle<float> (b.getX() + fx * b.getWidth(), b.getY() + fy * b.getHeight(),
                                           fw * b.getWidth(), fh * b.getHeight());
        };

        drawConsoleGroup (g, "EQ", area (toneCard, 0.025f, 0.13f, 0.95f, 0.79f), gConsoleMarkFontHeight, corner, thickness);
        drawConsoleGroup (g, "DE-ESSER", area (characterCard, 0.025f, 0.205f, 0.465f, 0.62f), gConsoleMarkFontHeight, corner, thickness);
        drawConsoleGroup (g, "SATURATION", area (characterCard, 0.5f, 0.205f, 0.47f, 0.62f), gConsoleMarkFontHeight, corner, thickness);
        drawConsoleGroup (g, "REVERB", area (spaceCard, 0.26f, 0.205f, 0.72f, 0.62f), gConsoleMarkFontHeight, corner, thickness);
    }
}

bool OndrelGUI::isCardDimmed (const SectionCard& card) const
{
    if (isSwitchOn (ParamIDs::mainBypass))
        return true;

    // The four section cards carry their section's word as title.
    for (int s = toneSection; s < numSections; ++s)
        if (card.title == kButtons[s].sectionWord)
            return isSwitchOn (kButtons[s].parameterID);

    return false;
}

void OndrelGUI::drawSectionCard (juce::Graphics& g, const SectionCard& card)
{
    const auto W = (float) getWidth();
    const auto H = (float) getHeight();
    const auto cc = 0.02f * juce::jmin (W, H);
    const auto K = card.bounds.toFloat();
    const auto shadowOffset = juce::jmax (0.0025f * H, 1.0f);

    if (! g.clipRegionIntersects (card.bounds.expanded (2, 2 + (int) std::ceil (shadowOffset))))
        return;

    g.setColour (juce::Colours::black.withAlpha ((juce::uint8) 0x61));
    g.fillRoundedRectangle (K.translated (0.0f, shadowOffset), cc);
    g.setColour (kCardBase);
    g.fillRoundedRectangle (K, cc);
    g.setGradientFill (juce::ColourGradient (kCardTopTint, K.getCentreX(), K.getY(), kCardBottomTint,
                                             K.getCentreX(), K.getBottom(), false));
    g.fillRoundedRectangle (K, cc);

    const juce::Rectangle<float> G (K.getX() + 0.006f * K.getWidth(), K.getY() + 0.006f * K.getHeight(),
                                    juce::jmax (K.getWidth() - 2.0f * (0.006f * K.getWidth()), 0.0f),
                                    juce::jmax (K.getHeight() - 2.0f * (0.006f * K.getHeight()), 0.0f));
    g.setGradientFill (juce::ColourGradient (kInnerPanelGlow, G.getCentreX(), G.getY(), juce::Colour (0x00ffffffu),
                                             G.getCentreX(), G.getCentreY(), false));
    g.fillRoundedRectangle (G, 0.84f * cc);

    g.setColour (kCardEdge);
    g.drawRoundedRectangle (K, cc, juce::jmax (0.00135f * H, 1.0f));
    g.setColour (juce::Colour (0x09ffffffu));
    g.drawRoundedRectangle (reducedBy (K, 1.5f), cc - 1.0f, juce::jmax (0.00065f * H, 0.6f));

    const bool dimmed = isCardDimmed (card);
    const auto& b = card.bounds;
    const auto px = roundHalf (0.013f * W);
    const auto th = juce::jmax (juce::jmin (b.getHeight(), roundHalf (0.048f * H)), 0);
    const auto tw = juce::jmax (b.getWidth() - 2 * px, 0);

    g.setColour (withAlphaByte (kTextMain, dimmed ? 0x57 : 0xff));
    g.setFont (juce::Font ((float) roundHalf (0.0225f * H), juce::Font::bold));
    g.drawText (card.title, b.getX() + px, b.getY(), tw, th, juce::Justification::centredLeft, true);

    g.setColour (withAlphaByte (kCardEdge, dimmed ? 0x3d : 0xa3));

    if (tw > 0)
        g.fillRect (b.getX() + px, juce::roundToInt ((float) b.getY() + (float) th + 0.002f * H), tw, 1);
}

void OndrelGUI::drawConsoleGroup (juce::Graphics& g, const juce::String& title, juce::Rectangle<float> area,
                                  float fontHeight, float r, float thickness)
{
    if (! g.clipRegionIntersects (area.expanded (fontHeight + thickness).getSmallestIntegerContainer()))
        return;

    const auto B = reducedBy (area, 2.0f);
    const juce::Font font (fontHeight, juce::Font::bold);
    const auto tw = font.getStringWidthFloat (title);

    // The top edge leaves a gap for the title, centred on it.
    const auto gw = tw + 2.0f * (0.72f * fontHeight);
    const auto gs = B.getX() + B.getWidth() * 0.5f - gw * 0.5f;
    const auto ge = gs + gw;
    const auto left = B.getX(), top = B.getY(), right = B.getRight(), bottom = B.getBottom();

    juce::Path outline;
    outline.startNewSubPath (left + r, top);
    outline.lineTo (gs, top);
    outline.startNewSubPath (ge, top);
    outline.lineTo (right - r, top);
    outline.startNewSubPath (left + r, top);
    outline.quadraticTo (left, top, left, top + r);
    outline.lineTo (left, bottom - r);
    outline.quadraticTo (left, bottom, left + r, bottom);
    outline.lineTo (right - r, bottom);
    outline.quadraticTo (right, bottom, right, bottom - r);
    outline.lineTo (right, top + r);
    outline.quadraticTo (right, top, right - r, top);

    g.setColour (kConsoleMarkSoft);
    g.strokePath (outline, juce::PathStrokeType (thickness, juce::PathStrokeType::mitered, juce::PathStrokeType::butt));

    g.setColour (kConsoleMark);
    g.setFont (font);
    g.drawText (title, juce::Rectangle<float> (gs, top - 0.78f * fontHeight, gw, 1.22f * fontHeight),
                juce::Justification::centred, false);
}
