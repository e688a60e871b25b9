# A private PulseAudio sound server with one null sink, "quirnel_test", for the tests and
# benchmarks of the audio output: played sound can be recorded from its monitor, and the
# volume tests change its "Master" line instead of a real one. The sink does not rewind:
# a rewinding null sink takes back sound it has already handed to its monitor's
# recorders, so the start of a new stream would be missing from a recording although it
# was played.
# shellcheck shell=bash

QUIRNEL_SOUND_SERVER_PID=""
QUIRNEL_SOUND_SERVER_DIR=""

# True when the sound server that answers is already the private test server.
quirnel_test_sound_server_answers() {
    pactl info 2>/dev/null | grep -q "^Default Sink: quirnel_test$"
}

# Starts the private server unless it answers already, and exports PULSE_SERVER so that
# every PulseAudio client of this shell's children (the sound player, pactl, parec, and
# ALSA's "default" through its pulse plugin) uses it. A desktop's own sound server is left alone.
# The server is stopped when the shell exits (this sets the EXIT trap).
quirnel_start_sound_server() {
    quirnel_test_sound_server_answers && return 0
    QUIRNEL_SOUND_SERVER_DIR=$(mktemp -d /tmp/quirnel-pulse-XXXXXX)
    local dir=$QUIRNEL_SOUND_SERVER_DIR
    # Its own home and runtime folder, and no D-Bus session, so that it cannot meet a
    # desktop's server; as root it runs with a warning in its log. It runs in a session of
    # its own, as a desktop's sound server does, so that the scheduler does not count it
    # with the load of the tests (a busy loop in the tests' session would otherwise keep
    # the server from taking in the sound it is sent).
    env -u DISPLAY -u DBUS_SESSION_BUS_ADDRESS -u PULSE_SERVER \
        HOME="$dir" XDG_RUNTIME_DIR="$dir" XDG_CONFIG_HOME="$dir/config" \
        setsid pulseaudio -n --daemonize=no --use-pid-file=no --exit-idle-time=-1 \
        --log-target=file:"$dir/pulseaudio.log" \
        --load="module-null-sink sink_name=quirnel_test norewinds=1" \
        --load="module-native-protocol-unix socket=$dir/native auth-anonymous=1" \
        </dev/null >/dev/null 2>&1 &
    QUIRNEL_SOUND_SERVER_PID=$!
    trap quirnel_stop_sound_server EXIT
    export PULSE_SERVER="unix:$dir/native"
    local tries
    for tries in $(seq 50); do
        if quirnel_test_sound_server_answers; then
            # setsid forks when it leads a process group (with job control on).
            QUIRNEL_SOUND_SERVER_PID=$(pgrep -n -f -- "socket=$dir/native" || echo "$!")
            return 0
        fi
        sleep 0.2
    done
    echo "Could not start a private PulseAudio; see $dir/pulseaudio.log" >&2
    cat "$dir/pulseaudio.log" >&2 || true
    return 1
}

# Stops the private server started by quirnel_start_sound_server, if any.
quirnel_stop_sound_server() {
    if [ -n "$QUIRNEL_SOUND_SERVER_PID" ]; then
        kill "$QUIRNEL_SOUND_SERVER_PID" 2>/dev/null || true
        local tries
        for tries in $(seq 50); do
            kill -0 "$QUIRNEL_SOUND_SERVER_PID" 2>/dev/null || break
            sleep 0.1
        done
        QUIRNEL_SOUND_SERVER_PID=""
    fi
    if [ -n "$QUIRNEL_SOUND_SERVER_DIR" ]; then
        rm -rf "$QUIRNEL_SOUND_SERVER_DIR"
        QUIRNEL_SOUND_SERVER_DIR=""
    fi
}
