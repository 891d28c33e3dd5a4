// talo --check: command files read as FILE reads them and parsed against the
// keyword tables with the same action routines and value checks, but no
// command is executed and no request leaves the program.
#pragma once

// Checks the named files, and the files their FILE lines name, and prints
// each faulty line on standard output: "NAME:LINE: " and the line, the
// caret where TALO would show one, and TALO's message. Returns the exit
// status: 0 when every line is clean (and nothing was printed), 1 otherwise.
int ss_check_main(int count, char** names);
