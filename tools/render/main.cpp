// ondrel-render: runs the real processor over an audio file the way a host
// would (one prepare, then host-sized blocks), for batch work and for checks.
#include <juce_audio_formats/juce_audio_formats.h>
#include <juce_audio_processors/juce_audio_processors.h>

#include "ParameterIDs.h"
#include "PluginProcessor.h"
#include "XmlLimits.h"
#include "../common/ToolSettings.h"

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <unistd.h>

namespace
{
using namespace tool;

const char* const usageText =
    "usage: ondrel-render [options] INPUT OUTPUT\n"
    "\n"
    "Runs Ondrel over INPUT (WAV, AIFF, FLAC, Ogg; mono or stereo) and writes OUTPUT\n"
    "with the same channel count and sample rate. The format follows OUTPUT's extension.\n"
    "\n"
    "options:\n"
    "  --set ID=VALUE        set a parameter in real units (repeatable), e.g. --set hpfFreq=120\n"
    "  --preset NAME         apply a factory preset, or else a user preset, before any --set\n"
    "  --preset-file FILE    apply a preset file with the rules of a user preset\n"
    "  --load-state FILE     apply a host state chunk first (as the host would)\n"
    "  --save-state FILE     write the host state chunk of the final settings\n"
    "  --block-size N        host block size in samples (default 512)\n"
    "  --bits 16|24|32       output sample format; 32 is float (default: as the input, else 24)\n"
    "  --tail SECONDS        silence appended to let the reverb ring out (default: the plug-in's tail)\n"
    "  --meters              print the final four meter values\n"
    "  --meters-csv FILE     write the meter values of every block as CSV\n"
    "  --quiet               no progress and no summary\n"
    "  --list-parameters     list the parameter IDs with ranges and defaults\n"
    "  --list-presets        list the factory and user presets\n"
    "  --help                this text\n";

double peakOf (const juce::AudioBuffer<float>& b, int numSamples)
{
    float peak = 0.0f;
    for (int ch = 0; ch < b.getNumChannels(); ++ch)
        peak = juce::jmax (peak, b.getMagnitude (ch, 0, numSamples));
    return peak;
}

juce::String dBFS (double peak)
{
    return peak <= 0.0 ? juce::String ("-inf dBFS") : juce::String (20.0 * std::log10 (peak), 1) + " dBFS";
}

juce::File fileArg (const juce::String& path)
{
    return juce::File::getCurrentWorkingDirectory().getChildFile (path.unquoted());
}

int run (const juce::ArgumentList& args)
{
    juce::StringArray positional, sets;
    std::optional<juce::String> presetName, presetFile, loadState, saveState, metersCsv, bitsText, blockText, tailText;
    bool quiet = false, printMeters = false, listParams = false, listPresets = false;

    for (int i = 0; i < args.size(); ++i)
    {
        const auto& a = args[i].text;
        auto next = [&]() -> juce::String
        {
            if (a.containsChar ('=') && a.startsWith ("--"))
                return a.fromFirstOccurrenceOf ("=", false, false);
            if (i + 1 >= args.size())
                fail ("option " + a + " needs a value");
            return args[++i].text;
        };
        const auto name = a.upToFirstOccurrenceOf ("=", false, false);

        if (a == "--help" || a == "-h") { std::fputs (usageText, stdout); return 0; }
        else if (a == "--quiet" || a == "-q") quiet = true;
        else if (a == "--meters") printMeters = true;
        else if (a == "--list-parameters") listParams = true;
        else if (a == "--list-presets") listPresets = true;
        else if (name == "--set") sets.add (next());
        else if (name == "--preset") presetName = next();
        else if (name == "--preset-file") presetFile = next();
        else if (name == "--load-state") loadState = next();
        else if (name == "--save-state") saveState = next();
        else if (name == "--meters-csv") metersCsv = next();
        else if (name == "--bits") bitsText = next();
        else if (name == "--block-size") blockText = next();
        else if (name == "--tail") tailText = next();
        else if (a.startsWith ("-") && a.length() > 1) fail ("unknown option " + a + " (see --help)");
        else positional.add (a);
    }

    OndrelAudioProcessor proc;

    if (listParams)
    {
        for (auto* id : ParamIDs::all)
        {
            auto* p = proc.apvts.getParameter (id);
            std::printf ("%-16s %-20s %-32s default %s\n", id, p->getName (64).toRawUTF8(),
                         describeParameter (*p).toRawUTF8(),
                         formatNumber (p->convertFrom0to1 (p->getDefaultValue())).toRawUTF8());
        }
    }
    if (listPresets)
    {
        for (auto& n : proc.getFactoryPresetNames())
            std::printf ("factory  %s\n", n.toRawUTF8());
        for (auto& n : proc.getUserPresetNames())
            std::printf ("user     %s\n", n.toRawUTF8());
    }
    if (listParams || listPresets)
        return 0;

    if (positional.size() != 2)
        fail ("expected INPUT and OUTPUT (see --help)");

    const auto inFile = fileArg (positional[0]);
    const auto outFile = fileArg (positional[1]);

    if (inFile == outFile || (outFile.exists() && inFile.getLinkedTarget() == outFile.getLinkedTarget()))
        fail ("the output path is the input path; choose another output file");

    const int blockSize = blockText ? (int) parseNumber (*blockText, "--block-size") : 512;
    if (blockSize < 1 || blockSize > (1 << 20))
        fail ("--block-size must be between 1 and 1048576");

    // Settings, in the order a user expects: host chunk, then preset, then --set.
    if (loadState)
    {
        juce::MemoryBlock chunk;
        if (! fileArg (*loadState).loadFileAsData (chunk) || chunk.getSize() == 0)
            fail ("cannot read state file " + *loadState);
        if (XmlLimits::parseChunk (chunk.getData(), (int) chunk.getSize()) == nullptr)
            fail ("state file " + *loadState + " is not a state chunk");
        proc.setStateInformation (chunk.getData(), (int) chunk.getSize());
    }
    if (presetName)
        applyPreset (proc, *presetName, quiet);
    if (presetFile)
    {
        const auto f = fileArg (*presetFile);
        if (! proc.loadPresetFile (f, f.getFileNameWithoutExtension()))
            fail ("cannot load preset file " + *presetFile);
    }
    for (auto& s : sets)
        applySet (proc, s);

    juce::AudioFormatManager formats;
    formats.registerBasicFormats();

    if (! inFile.existsAsFile())
        fail ("cannot read input " + inFile.getFullPathName() + ": no such file");

    std::unique_ptr<juce::AudioFormatReader> reader (formats.createReaderFor (inFile));
    if (reader == nullptr)
        fail ("cannot read input " + inFile.getFullPathName() + ": not a supported audio file");

    const int numChannels = (int) reader->numChannels;
    if (numChannels < 1 || numChannels > 2)
        fail ("input has " + juce::String (numChannels) + " channels; Ondrel takes mono or stereo");
    const double sampleRate = reader->sampleRate;
    if (sampleRate < 8000.0 || sampleRate > 768000.0)
        fail ("input sample rate " + juce::String (sampleRate) + " Hz is not supported");

    auto* format = formats.findFormatForFileExtension (outFile.getFileExtension());
    if (format == nullptr)
        fail ("cannot write '" + outFile.getFileExtension() + "' files; use .wav, .aiff or .flac");

    int bits = 24;
    if (bitsText)
    {
        bits = (int) parseNumber (*bitsText, "--bits");
        if (bits != 16 && bits != 24 && bits != 32)
            fail ("--bits must be 16, 24 or 32");
        if (! format->getPossibleBitDepths().contains (bits))
            fail (format->getFormatName() + " cannot hold " + juce::String (bits) + "-bit samples");
    }
    else if (format->getPossibleBitDepths().contains ((int) reader->bitsPerSample)
             && (reader->bitsPerSample == 16 || reader->bitsPerSample == 24 || reader->bitsPerSample == 32))
    {
        bits = (int) reader->bitsPerSample;
    }

    const double tailSeconds = tailText ? parseNumber (*tailText, "--tail") : proc.getTailLengthSeconds();
    if (tailSeconds < 0.0 || tailSeconds > 3600.0)
        fail ("--tail must be between 0 and 3600 seconds");

    const auto layoutSet = numChannels == 1 ? juce::AudioChannelSet::mono() : juce::AudioChannelSet::stereo();
    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add (layoutSet);
    layout.outputBuses.add (layoutSet);
    if (! proc.setBusesLayout (layout))
        fail ("the processor refused a " + juce::String (numChannels) + "-channel layout");

    proc.setRateAndBufferSizeDetails (sampleRate, blockSize);
    proc.prepareToPlay (sampleRate, blockSize);

    // Written beside the target and moved into place only when complete, so a
    // failed run never leaves a truncated file or destroys an existing one.
    juce::TemporaryFile temp (outFile);
    std::unique_ptr<juce::AudioFormatWriter> writer;
    {
        auto stream = std::make_unique<juce::FileOutputStream> (temp.getFile());
        if (! stream->openedOk())
            fail ("cannot write beside " + outFile.getFullPathName() + ": " + stream->getStatus().getErrorMessage());
        writer.reset (format->createWriterFor (stream.get(), sampleRate, (unsigned int) numChannels, bits, {}, 0));
        if (writer == nullptr)
            fail ("cannot create a " + format->getFormatName() + " writer for this file");
        stream.release(); // the writer owns it now
    }

    std::unique_ptr<juce::FileOutputStream> csv;
    if (metersCsv)
    {
        const auto csvFile = fileArg (*metersCsv);
        csvFile.deleteFile();
        csv = std::make_unique<juce::FileOutputStream> (csvFile);
        if (! csv->openedOk())
            fail ("cannot write meters file " + *metersCsv);
        *csv << "block,time,inputLeft,inputRight,outputLeft,outputRight\n";
    }

    const juce::int64 inputLength = reader->lengthInSamples;
    const juce::int64 totalLength = inputLength + (juce::int64) std::llround (tailSeconds * sampleRate);
    const bool showProgress = ! quiet && isatty (fileno (stderr)) && totalLength > (juce::int64) (sampleRate * 5);

    juce::AudioBuffer<float> buffer (numChannels, blockSize);
    juce::MidiBuffer midi;
    double peakIn = 0.0, peakOut = 0.0;
    juce::int64 blockIndex = 0;
    int lastPercent = -1;

    for (juce::int64 pos = 0; pos < totalLength; pos += blockSize, ++blockIndex)
    {
        const int n = (int) juce::jmin ((juce::int64) blockSize, totalLength - pos);
        buffer.setSize (numChannels, n, false, false, true);
        buffer.clear();
        if (pos < inputLength)
            reader->read (&buffer, 0, (int) juce::jmin ((juce::int64) n, inputLength - pos), pos, true, true);

        peakIn = juce::jmax (peakIn, peakOf (buffer, n));
        proc.processBlock (buffer, midi);
        peakOut = juce::jmax (peakOut, peakOf (buffer, n));

        if (! writer->writeFromAudioSampleBuffer (buffer, 0, n))
            fail ("writing " + outFile.getFullPathName() + " failed (disk full?)");

        if (csv != nullptr)
            *csv << juce::String (blockIndex) << "," << juce::String ((double) pos / sampleRate, 6) << ","
                 << juce::String (proc.inputLevelLeft.load(), 6) << "," << juce::String (proc.inputLevelRight.load(), 6) << ","
                 << juce::String (proc.outputLevelLeft.load(), 6) << "," << juce::String (proc.outputLevelRight.load(), 6) << "\n";

        if (showProgress)
        {
            const int percent = (int) (100 * (pos + n) / totalLength);
            if (percent != lastPercent)
                std::fprintf (stderr, "\rrendering %3d%%", lastPercent = percent);
        }
    }
    if (showProgress)
        std::fputs ("\n", stderr);

    writer.reset(); // flushes and closes the file
    if (csv != nullptr)
    {
        csv->flush();
        if (csv->getStatus().failed())
            fail ("writing the meters file failed");
    }

    if (! temp.overwriteTargetFileWithTemporary())
        fail ("cannot move the rendered file into place at " + outFile.getFullPathName());

    if (saveState)
    {
        juce::MemoryBlock chunk;
        proc.getStateInformation (chunk);
        if (! fileArg (*saveState).replaceWithData (chunk.getData(), chunk.getSize()))
            fail ("cannot write state file " + *saveState);
    }

    if (printMeters)
        std::printf ("meters: inputLeft %.6f inputRight %.6f outputLeft %.6f outputRight %.6f\n",
                     proc.inputLevelLeft.load(), proc.inputLevelRight.load(),
                     proc.outputLevelLeft.load(), proc.outputLevelRight.load());

    if (! quiet)
        std::printf ("rendered %s -> %s: %.2f s of audio + %.2f s tail, %d ch, %.0f Hz, %d-sample blocks, %d-bit%s; "
                     "peak in %s, peak out %s\n",
                     inFile.getFileName().toRawUTF8(), outFile.getFileName().toRawUTF8(),
                     (double) inputLength / sampleRate, tailSeconds, numChannels, sampleRate, blockSize, bits,
                     bits == 32 ? " float" : "", dBFS (peakIn).toRawUTF8(), dBFS (peakOut).toRawUTF8());
    return 0;
}
} // namespace

int main (int argc, char* argv[])
{
    juce::ScopedJuceInitialiser_GUI juce;
    const juce::ArgumentList args (argc, argv);

    try
    {
        return run (args);
    }
    catch (const Failure& f)
    {
        std::fprintf (stderr, "ondrel-render: error: %s\n", f.message.toRawUTF8());
        return 1;
    }
}
