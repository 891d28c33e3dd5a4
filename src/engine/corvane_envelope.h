// Request envelopes: the HTTP request text built in the session state's
// soap_buffer, in the legacy form (/ResEltTslPyrite/Fenn) and the version-3
// form (/ResEltTslPyrite/XMLIntr). Order: header, sentence writer, trailer.
#pragma once

#include "corvane_state.h"

// Longest request text; the buffer keeps one more character for the NUL.
constexpr uint32_t ss_soap_max_length = ss_soap_buffer_size - 1;

// Appends to soap_buffer. A request that would outgrow the buffer ends the
// program (nothing of it is sent).
void ss_move_to_soap(_parseblk* pb, const char* text);
void ss_move_to_soap_new(_parseblk* pb, const char* text);  // text and "\n"

// Legacy form: "Get", "Create", "Copy", "Set", "Delete".
void ss_soap_header(_parseblk* pb, const char* operation, const char* type);
void ss_write_soap_sentences(_parseblk* pb);
void ss_soap_trailer(_parseblk* pb);

// Version-3 form: "getproperties", "createobject", "setproperties", "deleteobject".
void ss_soap_header_V3(_parseblk* pb, const char* operation);
void ss_write_soap_sentences_V3(_parseblk* pb);
void ss_soap_trailer_V3(_parseblk* pb);
