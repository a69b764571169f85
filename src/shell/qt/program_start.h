#pragma once

// The start of the program: the application titled "Kordavelt", the about
// box as a splash for one second, the main window maximised, the model named
// on the command line opened once it shows, then the message loop.

namespace kordavelt {

int RunProgram(int argc, char* argv[]);

}  // namespace kordavelt
