// Fatal signals become runtime errors with a fixed message.
#pragma once

// The runtime-error text for a fatal signal.
const char* SignalMessage(int signal);

void InstallSignalHandlers();
