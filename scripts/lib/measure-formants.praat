# Measures F1 and F2 of a rendered vowel as a phonetician would: Burg, 5 formants up to
# MAXIMUM Hz, 25 ms windows, the mean over the middle 60 %. Prints "F1 F2" on one line.
#   praat --run measure-formants.praat FILE.wav MAXIMUM
form Measure formants
    sentence File
    real Maximum 5000
endform
sound = Read from file: file$
duration = Get total duration
formant = To Formant (burg): 0, 5, maximum, 0.025, 50
f1 = Get mean: 1, 0.2 * duration, 0.8 * duration, "hertz"
f2 = Get mean: 2, 0.2 * duration, 0.8 * duration, "hertz"
writeInfoLine: fixed$(f1, 0), " ", fixed$(f2, 0)
