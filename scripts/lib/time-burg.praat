# Seconds that Praat's To Formant (burg) with its defaults takes on one file, the mean of
# 20 runs (the file read once, before the stopwatch starts).
form Time Burg
    sentence file
endform
sound = Read from file: file$
stopwatch
for i to 20
    selectObject: sound
    formant = To Formant (burg): 0, 5, 5500, 0.025, 50
    removeObject: formant
endfor
appendInfoLine: stopwatch / 20
