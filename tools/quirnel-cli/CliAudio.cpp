// quirnel-cli play and volume: the sound player and the wave output volume control.
#include "Cli.h"

#include "audio/SoundFile.h"
#include "audio/SoundPlayer.h"
#include "audio/WaveOutVolumeCtrl.h"

#include <QCoreApplication>
#include <QTimer>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// A Qt application object for the sound player and the mixer notifications.
struct CliQtApp {
    int argc = 1;
    char name[12] = "quirnel-cli";
    char* argv[2] = {name, nullptr};
    QCoreApplication app{argc, argv};
};

// Why a file is not played, from its header alone: nothing is decoded before the player
// has found a sound server.
std::string WhyNotPlayable(const std::string& path) {
    SoundFileFormat format;
    if (std::string why = WhyNotSound(path, "play", format); !why.empty())
        return why;
    if (format.sampleRate < kLowestPlayableRate)
        return "\"" + path + "\" has a sample rate of " + std::to_string(format.sampleRate) +
               " Hz; play takes sounds of " + std::to_string(kLowestPlayableRate) + " Hz and more";
    return "";
}

std::string Milliseconds(int64_t us) {
    if (us < 0)
        return "unknown";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f ms", static_cast<double>(us) / 1000);
    return text;
}

// With --verbose: how much sound the server holds ahead of the ear while the sound plays
// (as `pactl list sink-inputs` shows it), and when the server took its first samples.
void PrintBufferFigures(CSoundPlayer& player) {
    std::printf("buffer latency: %s (granted %s)\n",
                Milliseconds(player.MeasureBufferLatencyUs()).c_str(),
                Milliseconds(player.GrantedBufferUs()).c_str());
    std::fflush(stdout);
}

void PrintStartFigures(const CSoundPlayer& player) {
    std::printf("first sample taken by the server: %s after Play\nunderruns: %d\n",
                Milliseconds(player.FirstSampleDelayUs()).c_str(), player.Underruns());
}

int HandlePlay(const std::vector<std::string>& args) {
    CliOptions options;
    if (!options.Parse(args, {}, {"verbose"}) || options.Positional().size() != 1) {
        CliError("play needs exactly one FILE");
        return kCliBadArguments;
    }
    const bool verbose = options.Has("verbose");
    const std::string path = options.Positional()[0];
    if (const std::string why = WhyNotPlayable(path); !why.empty()) {
        CliError(why);
        return kCliFailed;
    }
    // The player is destroyed first: its connection to the server is closed and its
    // thread joined before anything of Qt is torn down.
    CliQtApp qt;
    CSoundPlayer player;
    QObject::connect(&player, &CSoundPlayer::Finished, &qt.app, &QCoreApplication::quit);
    player.Play(path);
    if (player.LastResult() != CSoundPlayer::PlayResult::Started) {
        CliError(player.LastResult() == CSoundPlayer::PlayResult::NotDecoded
                     ? "can't decode \"" + path + "\" as a sound file"
                     : std::string("no sound output (is a sound server running?)"));
        return kCliFailed;
    }
    if (verbose)
        QTimer::singleShot(100, &player, [&player] { PrintBufferFigures(player); });
    qt.app.exec();
    if (verbose)
        PrintStartFigures(player);
    if (player.LastResult() == CSoundPlayer::PlayResult::BrokenOff) {
        CliError("the sound server failed while \"" + path + "\" was playing");
        return kCliFailed;
    }
    return kCliOk;
}

bool ParseVolume(const std::string& text, unsigned& value) {
    errno = 0;
    char* end = nullptr;
    const long long number = std::strtoll(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno == ERANGE || number < 0 || number > UINT_MAX)
        return false;
    value = static_cast<unsigned>(number);
    return true;
}

void PrintVolume(CWaveOutVolumeCtrl& volume) {
    std::printf("volume: %d\nrange: %d..%d (%d steps)\nmuted: %s\n", volume.GetVolume(),
                volume.GetMinimum(), volume.GetMaximum(), volume.GetSteps(),
                volume.IsMuted() ? "yes" : "no");
}

int SetVolume(CWaveOutVolumeCtrl& volume, const std::string& text) {
    unsigned value = 0;
    if (!ParseVolume(text, value) || static_cast<long long>(value) < volume.GetMinimum() ||
        static_cast<long long>(value) > volume.GetMaximum()) {
        CliError("the volume must be a whole number from " + std::to_string(volume.GetMinimum()) +
                 " to " + std::to_string(volume.GetMaximum()) + ", not \"" + text + "\"");
        return kCliBadArguments;
    }
    volume.SetVolume(value);
    return kCliOk;
}

int HandleVolume(const std::vector<std::string>& arguments) {
    CliOptions options;
    if (!options.Parse(arguments, {}))
        return kCliBadArguments;
    const std::vector<std::string>& args = options.Positional();
    const std::string action = args.empty() ? "get" : args[0];
    const size_t expected = action == "set" ? 2 : 1;
    const bool known = action == "get" || action == "set" || action == "mute" || action == "unmute";
    if (!known || args.size() > expected || (action == "set" && args.size() != 2)) {
        CliError("volume takes get, set N, mute or unmute");
        return kCliBadArguments;
    }
    CWaveOutVolumeCtrl volume;
    if (!volume.IsAvailable()) {
        CliError("the volume control of the wave output is not available");
        return kCliFailed;
    }
    if (action == "get")
        PrintVolume(volume);
    else if (action == "set")
        return SetVolume(volume, args[1]);
    else if (action == "mute")
        volume.Deactivate();
    else
        volume.Activate();
    return kCliOk;
}

CliRegistrar
    playCommand("play",
                "  play [--verbose] FILE      play a sound file and wait until it has ended\n"
                "                             (--verbose: the buffer's latency and start time)",
                &HandlePlay);
CliRegistrar
    volumeCommand("volume",
                  "  volume [get|set N|mute|unmute]\n"
                  "                             show or change the volume of the wave output line",
                  &HandleVolume);

} // namespace
