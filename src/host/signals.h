// Fatal signals become runtime errors with a fixed message; stop signals ask the program to
// end as its quit key does.
#pragma once

#include <string_view>

// The runtime-error text for a fatal signal.
std::string_view SignalMessage(int signal);

void InstallSignalHandlers();

// SIGTERM, SIGINT and SIGHUP: the handler only sets a flag, which the frame loop and the
// simulator read between updates to end the program as its quit key does, its recording
// complete. The handler runs once: a second signal while stopping ends the program at once. A
// signal the program was started with ignored (nohup) stays ignored.
void InstallStopHandlers();
bool StopRequested();
