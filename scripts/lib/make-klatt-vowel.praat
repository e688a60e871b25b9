# Makes a vowel with Praat's KlattGrid, an independent Klatt-type synthesizer.
# Arguments: out duration f0 f1 b1 f2 b2 f3 b3 f4 flutter openPhase tilt breathiness
# (flutter 0-1, open phase 0-1, tilt dB at 3 kHz, breathiness dB; 0 leaves each at its default).
form Klatt vowel
    sentence out
    real duration
    real f0
    real f1
    real b1
    real f2
    real b2
    real f3
    real b3
    real f4
    real flutter
    real openPhase
    real tilt
    real breathiness
endform
Create KlattGrid from vowel: "v", duration, f0, f1, b1, f2, b2, f3, b3, f4, 0.05, 1000
# A slight fall of the pitch, as in a spoken vowel.
Remove pitch points between: 0, duration
Add pitch point: 0, f0 * 1.03
Add pitch point: duration, f0 * 0.97
if flutter > 0
    Add flutter point: duration / 2, flutter
endif
if openPhase > 0
    Add open phase point: duration / 2, openPhase
endif
if tilt > 0
    Add spectral tilt point: duration / 2, tilt
endif
if breathiness > 0
    Add breathiness amplitude point: duration / 2, breathiness
endif
To Sound
Save as WAV file: out$
