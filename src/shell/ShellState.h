// Values the windows of the program share, and the one way the program ends.
#pragma once

#include <functional>

namespace shell {

struct ShellState {
    // Set by the main window (14: Kerala); the document window reads it when it closes.
    int CurrentStateCode = 0;
};

ShellState& state();
void resetState();

// Ends the program with the given status. Everything that ends the program goes through
// here, so that tests can replace the ending with a hook that records it.
void endProgram(int status);
using EndProgramHook = std::function<void(int)>;
void setEndProgramHook(EndProgramHook hook);   // empty restores the real ending

} // namespace shell
