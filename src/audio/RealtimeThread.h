// Raising the thread that feeds the sound server to real-time scheduling.
#pragma once

#include <sys/types.h>

// Gives the thread tid a low real-time priority (round robin, below the sound server's own
// threads), so that a busy machine cannot keep it from answering the server's requests in
// time: the stream's buffer holds only 25 ms. Directly when the process may (as root, or
// with an RLIMIT_RTPRIO), otherwise through RealtimeKit on the system D-Bus, as desktop
// sound programs do, with a bounded wait. False, changing nothing, when neither allows it.
bool MakeThreadRealtime(pid_t tid);
