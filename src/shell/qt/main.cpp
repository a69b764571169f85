#include "shell/qt/program_start.h"

int main(int argc, char* argv[]) { return kordavelt::RunProgram(argc, argv); }
