# Seconds that Praat's To Formant (burg) with its defaults takes on one file, the mean of
# count runs by its stopwatch (the file read once, before the stopwatch starts; count 0
# only reads the file, to tell Praat's own start from the analysis).
form Time Burg
    sentence file
    integer count 20
endform
sound = Read from file: file$
stopwatch
for i to count
    selectObject: sound
    formant = To Formant (burg): 0, 5, 5500, 0.025, 50
    removeObject: formant
endfor
appendInfoLine: stopwatch / max(count, 1)
