# Measures a voice's voicing: mean F0 and the local jitter and shimmer after the first 50 ms.
# The input holds the voice file's samples, one per line (without its two header lines).
# Prints "F0 jitter% shimmer%" on one line.
#   praat --run measure-voicing.praat SAMPLES.txt
form Measure voicing
    sentence File
endform
matrix = Read Matrix from raw text file: file$
row = Transpose
sound = To Sound (slice): 1
Override sampling frequency: 10000
Shift times to: "start time", 0
pitch = To Pitch: 0, 75, 600
f0 = Get mean: 0, 0, "Hertz"
selectObject: sound
points = To PointProcess (periodic, cc): 75, 600
jitter = Get jitter (local): 0.05, 0, 0.0001, 0.02, 1.3
selectObject: sound, points
shimmer = Get shimmer (local): 0.05, 0, 0.0001, 0.02, 1.3, 1.6
writeInfoLine: fixed$(f0, 1), " ", fixed$(100 * jitter, 2), " ", fixed$(100 * shimmer, 2)
