// Program start and end: globals, session records, banner, the command
// source, and the exit status the error policy decides.
#pragma once

int ss_main(int argc, char** argv);
