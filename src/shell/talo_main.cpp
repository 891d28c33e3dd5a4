// The talo executable.
#include "corvane_main.h"

int main(int argc, char** argv) { return ss_main(argc, argv); }
