# Measures one rendered vowel: A1 - A3, and the shimmer, jitter and harmonics-to-noise ratio.
# Prints "A1-A3 shimmer% jitter% HNR" on one line.
#   praat --run measure-vowel.praat FILE.wav F1 F2 F3
form Measure a rendered vowel
    sentence File
    real F1 0
    real F2 0
    real F3 0
endform
sound = Read from file: file$
duration = Get total duration
rate = Get sampling frequency

# The middle 60 % under a Hann window, zero-padded to one second for 1 Hz resolution.
part = Extract part: 0.2 * duration, 0.8 * duration, "Hanning", 1, "no"
count = Get number of samples
if count < rate
    pad = Create Sound from formula: "pad", 1, 0, (rate - count) / rate, rate, "0"
    selectObject: part, pad
    part = Concatenate
endif
spectrum = To Spectrum: "no"
ltas = To Ltas (1-to-1)
l1 = Get maximum: 0.7 * f1, min(1.3 * f1, (f1 + f2) / 2), "none"
l3 = Get maximum: 0.9 * f3, 1.1 * f3, "none"

selectObject: sound
points = To PointProcess (periodic, cc): 75, 600
selectObject: sound, points
shimmer = Get shimmer (local): 0.2 * duration, 0.8 * duration, 0.0001, 0.02, 1.3, 1.6
selectObject: points
jitter = Get jitter (local): 0.2 * duration, 0.8 * duration, 0.0001, 0.02, 1.3
selectObject: sound
harmonicity = To Harmonicity (cc): 0.01, 75, 0.1, 1.0
hnr = Get mean: 0.2 * duration, 0.8 * duration

writeInfoLine: fixed$(l1 - l3, 1), " ", fixed$(100 * shimmer, 2), " ", fixed$(100 * jitter, 2), " ", fixed$(hnr, 1)
