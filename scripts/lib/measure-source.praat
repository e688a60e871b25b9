# Measures the spectral slope of a voice's source as the formants receive it. The input holds
# the voicing already passed through the synthesizer's output low-pass, one sample per line.
# Its long-term spectrum, corrected for the pitch, in 100 Hz bands from the band of the third
# harmonic up to 4.5 kHz: the slope of the band levels against log frequency (dB per
# octave), the largest rise from one band to the next (dB) and where it lies.
# Prints "slope rise at-Hz" on one line.
#   praat --run measure-source.praat SAMPLES.txt F0
form Measure source
    sentence File
    real F0 100
endform
matrix = Read Matrix from raw text file: file$
row = Transpose
sound = To Sound (slice): 1
Override sampling frequency: 10000
Shift times to: "start time", 0
Extract part: 0.05, 11.95, "rectangular", 1, "no"
ltas = To Ltas (pitch-corrected): 0.9 * f0 / 1.1, 1.2 * f0, 5000, 100, 0.0001, 0.02, 1.3
first = Get band from frequency: 3 * f0
first = round(first)
last = Get band from frequency: 4450
last = round(last)
n = 0
sx = 0
sy = 0
sxx = 0
sxy = 0
rise = -1000
riseAt = 0
previous = undefined
for band from first to last
    level = Get value in bin: band
    hz = Get frequency from bin number: band
    x = log2(hz)
    n += 1
    sx += x
    sy += level
    sxx += x * x
    sxy += x * level
    if previous <> undefined
        if level - previous > rise
            rise = level - previous
            riseAt = hz
        endif
    endif
    previous = level
endfor
slope = (n * sxy - sx * sy) / (n * sxx - sx * sx)
writeInfoLine: fixed$(slope, 1), " ", fixed$(rise, 1), " ", fixed$(riseAt, 0)
