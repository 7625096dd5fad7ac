// Fatal signals become runtime errors with a fixed message.
#pragma once

#include <string_view>

// The runtime-error text for a fatal signal.
std::string_view SignalMessage(int signal);

void InstallSignalHandlers();
