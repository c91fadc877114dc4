// Program entry: hands the command line to start-up and runs the event loop.
#include "app/startup_gtk.h"

int main(int argc, char** argv) { return app::runProgram(argc, argv); }
