// The keyboard history kept between sessions: a private file of one command
// line a line, read at start and added to after each line.
#pragma once

#include <string>
#include <vector>

// $TALO_HISTORY when set, else ~/.talo_history; empty when neither can be named.
std::string ss_history_path();
// Whether a line may be written to the history file: a line giving a
// password (PASSWORD=, any case) never is, nor a blank one.
bool ss_history_keeps(const std::string& line);
// The lines of the file, oldest first; none when it is missing, a symbolic
// link or not a regular file.
std::vector<std::string> ss_history_load(const std::string& path);
// Appends one line, creating the file readable by its owner alone. False,
// and nothing written, when the path is a symbolic link or not a regular file.
bool ss_history_append(const std::string& path, const std::string& line);
