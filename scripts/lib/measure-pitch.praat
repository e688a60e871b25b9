# Praat's pitch (To Pitch, autocorrelation, its default settings but for the floor and the
# ceiling) of one file at the times asked: one line "time f0" each, f0 --undefined-- where
# Praat finds the frame unvoiced; times outside its first and last frame are left out (its
# window, three periods of the floor long, does not fit there).
# Arguments: file pitchFloor pitchCeiling step (the times are 0, step, 2 step ... up to the end)
form Pitch
    sentence file
    real pitchFloor
    real pitchCeiling
    real step
endform
sound = Read from file: file$
duration = Get total duration
pitch = To Pitch: 0, pitchFloor, pitchCeiling
frames = Get number of frames
first = Get time from frame number: 1
last = Get time from frame number: frames
n = floor(duration / step + 1e-9)
for i from 0 to n
    t = i * step
    if t >= first - 1e-9 and t <= last + 1e-9
        f0 = Get value at time: t, "Hertz", "linear"
        appendInfoLine: fixed$(t, 3), " ", f0
    endif
endfor
