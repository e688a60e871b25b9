# The end click of every WAV file in a folder: the largest sample of the last 2 ms as a
# share of the sound's peak. Prints the largest share in percent and the file it comes from.
#   praat --run measure-end.praat FOLDER
form Measure the ends of rendered sounds
    sentence Folder
endform
files = Create Strings as file list: "files", folder$ + "/*.wav"
count = Get number of strings
worst = 0
worstFile$ = "(every sound)"
for i to count
    selectObject: files
    name$ = Get string: i
    sound = Read from file: folder$ + "/" + name$
    duration = Get total duration
    peak = Get absolute extremum: 0, 0, "none"
    last = Get absolute extremum: duration - 0.002, duration, "none"
    if peak > 0 and last / peak > worst
        worst = last / peak
        worstFile$ = name$
    endif
    removeObject: sound
endfor
writeInfoLine: fixed$(100 * worst, 1), " ", worstFile$
