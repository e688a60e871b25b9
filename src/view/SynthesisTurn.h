// Turns at the synthesizer for the threads of the program.
#pragma once

#include <mutex>

// The synthesizer keeps its state in process-wide variables (the voice samples in store, the
// vowel track, the values a run carries into the next), so one thread at a time may run it.
// The chart's plays, Export Sound and the spectrum window's analyses on the window's thread
// and the long tasks on worker threads (continua, made voices) hold this lock while they
// render.
std::mutex& SynthesisTurn();
