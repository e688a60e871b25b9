# Praat's Burg formants of one vowel, mean F1-F3 over the middle 60 % of the file, for every
# number of formants and ceiling asked: one line "formants ceiling f1 f2 f3" each.
# Arguments: file formantCounts$ (e.g. "4 5 6") ceilings$ (e.g. "5000 5500")
form Burg
    sentence file
    sentence counts
    sentence ceilings
endform
sound = Read from file: file$
duration = Get total duration
t1 = 0.2 * duration
t2 = 0.8 * duration
counts$ = counts$ + " "
while counts$ <> ""
    space = index(counts$, " ")
    n = number(left$(counts$, space - 1))
    counts$ = right$(counts$, length(counts$) - space)
    rest$ = ceilings$ + " "
    while rest$ <> ""
        space = index(rest$, " ")
        ceiling = number(left$(rest$, space - 1))
        rest$ = right$(rest$, length(rest$) - space)
        selectObject: sound
        formant = To Formant (burg): 0, n, ceiling, 0.025, 50
        f1 = Get mean: 1, t1, t2, "hertz"
        f2 = Get mean: 2, t1, t2, "hertz"
        f3 = Get mean: 3, t1, t2, "hertz"
        appendInfoLine: n, " ", ceiling, " ", f1, " ", f2, " ", f3
        removeObject: formant
    endwhile
endwhile
