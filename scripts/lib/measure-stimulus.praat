# Measures an exported or rendered vowel: F1 and F2 (Burg, 5 formants up to 5000 Hz, means
# over the middle 60 %), the mean F0 of a stretch (autocorrelation from the pitch floor to
# 600 Hz; 0 0 for the whole sound), and the level of everything above 5 kHz against the
# whole sound ("-" for a sound at 10000 Hz). Prints "F1 F2 F0 above5k_dB" on one line.
#   praat --run measure-stimulus.praat FILE.wav FROM_S TO_S PITCH_FLOOR_HZ
form Measure stimulus
    sentence File
    real Stretch_start 0
    real Stretch_end 0
    real Pitch_floor 40
endform
sound = Read from file: file$
duration = Get total duration
rate = Get sampling frequency
formant = To Formant (burg): 0, 5, 5000, 0.025, 50
f1 = Get mean: 1, 0.2 * duration, 0.8 * duration, "hertz"
f2 = Get mean: 2, 0.2 * duration, 0.8 * duration, "hertz"
selectObject: sound
pitch = To Pitch: 0.005, pitch_floor, 600
f0 = Get mean: stretch_start, stretch_end, "Hertz"
selectObject: sound
spectrum = To Spectrum: "no"
total = Get band energy: 0, 0
above = 0
if rate > 10000
    above = Get band energy: 5000, rate / 2
endif
level$ = "-"
if above > 0
    level$ = fixed$(10 * log10(above / total), 1)
endif
writeInfoLine: fixed$(f1, 1), " ", fixed$(f2, 1), " ", fixed$(f0, 2), " ", level$
