# Finds the spectral peaks of a long noise-excited vowel, which lie at the filter's own
# formants: the long-term spectrum in 20 Hz bands, its highest point between 0.5 F1 and the
# midpoint of F1 and F2 and between that midpoint and the midpoint of F2 and F3. Prints
# "F1 F2" on one line.
#   praat --run measure-peaks.praat FILE.wav F1 F2 F3
form Measure spectral peaks
    sentence File
    real F1 0
    real F2 0
    real F3 0
endform
sound = Read from file: file$
spectrum = To Spectrum: "yes"
ltas = To Ltas: 20
p1 = Get frequency of maximum: 0.5 * f1, (f1 + f2) / 2, "parabolic"
p2 = Get frequency of maximum: (f1 + f2) / 2, (f2 + f3) / 2, "parabolic"
writeInfoLine: fixed$(p1, 0), " ", fixed$(p2, 0)
