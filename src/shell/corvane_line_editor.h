// The prompt for a person at a terminal: Emacs-style line editing, history
// kept across sessions, Tab completion from the keyword tables.
#pragma once

#include <memory>

#include "corvane_state.h"

// True when this build edits lines and both standard input and output are
// terminals; otherwise the keyboard loop reads plain lines as it always has.
bool ss_line_editor_usable();

enum class ss_edit_result {
    line,         // a line was read
    interrupted,  // Ctrl-C abandoned the line
    end,          // Ctrl-D on an empty line, or the input ended
    error,        // reading failed; errno says why
};

class ss_line_editor {
public:
    // Loads the history file. While the editor lives, Ctrl-C is ignored but
    // at the prompt, so a command in flight is never cut short.
    explicit ss_line_editor(_parseblk* pb);
    ~ss_line_editor();
    ss_line_editor(const ss_line_editor&) = delete;
    ss_line_editor& operator=(const ss_line_editor&) = delete;

    // Reads one line after `prompt` into `line` (ss_max_line + 1 bytes, the
    // line end kept as the plain reader keeps it); `count` is its length with
    // the line end, as the plain reader counts. A line too long for the
    // buffer sets `count` to ss_max_line and leaves `line` empty.
    ss_edit_result read(const char* prompt, char* line, int* count);
    // Adds a line given to the history, in memory and in the file.
    void remember(const char* line);

    struct impl;

private:
    std::unique_ptr<impl> impl_;
};
