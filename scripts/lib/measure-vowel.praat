# Measures one rendered vowel: A1 - A3, and the shimmer, jitter and harmonics-to-noise ratio.
# Prints "A1-A3 shimmer% jitter% HNR" on one line.
# The pitch is tracked from FLOOR Hz (75 for voices above 80 Hz) up to 600 Hz, over the part
# from START to END seconds of the file (0 0: the whole file), of which it measures the middle 60 %.
#   praat --run measure-vowel.praat FILE.wav F1 F2 F3 FLOOR START END
form Measure a rendered vowel
    sentence File
    real F1 0
    real F2 0
    real F3 0
    real Floor 75
    real Part_start 0
    real Part_end 0
endform
whole = Read from file: file$
if part_end > part_start
    sound = Extract part: part_start, part_end, "rectangular", 1, "no"
else
    selectObject: whole
    sound = Copy: "vowel"
endif
duration = Get total duration
rate = Get sampling frequency

# A1 - A3 as phoneticians measure it: in 50 ms Hann windows, each zero-padded to one second
# for 1 Hz resolution, one after another over the middle 60 %, averaged in dB. Short windows
# keep the jitter from smearing the high harmonics.
a1a3 = 0
windows = 0
start = 0.2 * duration
while start + 0.05 <= 0.8 * duration + 1e-9
    selectObject: sound
    part = Extract part: start, start + 0.05, "Hanning", 1, "no"
    count = Get number of samples
    pad = Create Sound from formula: "pad", 1, 0, (rate - count) / rate, rate, "0"
    selectObject: part, pad
    padded = Concatenate
    spectrum = To Spectrum: "no"
    ltas = To Ltas (1-to-1)
    l1 = Get maximum: 0.7 * f1, min(1.3 * f1, (f1 + f2) / 2), "none"
    l3 = Get maximum: 0.9 * f3, 1.1 * f3, "none"
    a1a3 += l1 - l3
    windows += 1
    removeObject: part, pad, padded, spectrum, ltas
    start += 0.05
endwhile
a1a3 /= windows

selectObject: sound
points = To PointProcess (periodic, cc): floor, 600
selectObject: sound, points
shimmer = Get shimmer (local): 0.2 * duration, 0.8 * duration, 0.0001, 0.02, 1.3, 1.6
selectObject: points
jitter = Get jitter (local): 0.2 * duration, 0.8 * duration, 0.0001, 0.02, 1.3
selectObject: sound
harmonicity = To Harmonicity (cc): 0.01, floor, 0.1, 1.0
hnr = Get mean: 0.2 * duration, 0.8 * duration

writeInfoLine: fixed$(a1a3, 1), " ", fixed$(100 * shimmer, 2), " ", fixed$(100 * jitter, 2), " ", fixed$(hnr, 1)
