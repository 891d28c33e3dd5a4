// The request sentence queue: element names and values that action routines
// collect while a command is parsed and the envelope writers turn into XML.
#pragma once

#include <cstdint>

struct _parseblk;

struct _soap_sent_info {
    _soap_sent_info* next;
    char* name;
    char* value;
};

// The core of every queue operation: `count` characters of `text` become the
// value. With `replace`, the first queued sentence of that name (from the
// head) takes the new value in place; otherwise, or when there is none, a new
// sentence goes to the head (plain form) or the tail (_V3 form).
void ss_soap_sentence_count(_parseblk* pb, const char* name, const char* text, uint32_t count,
                            bool replace);
void ss_soap_sentence_count_V3(_parseblk* pb, const char* name, const char* text, uint32_t count,
                               bool replace);

// Terminated and counted values; a null value queues an empty one.
void ss_add_soap_sentence(_parseblk* pb, const char* name, const char* value);
void ss_add_soap_sentence_count(_parseblk* pb, const char* name, const char* text, uint32_t count);
void ss_replace_soap_sentence(_parseblk* pb, const char* name, const char* value);
void ss_replace_soap_sentence_count(_parseblk* pb, const char* name, const char* text,
                                    uint32_t count);
void ss_add_soap_sentence_V3(_parseblk* pb, const char* name, const char* value);
void ss_add_soap_sentence_count_V3(_parseblk* pb, const char* name, const char* text,
                                   uint32_t count);
void ss_replace_soap_sentence_V3(_parseblk* pb, const char* name, const char* value);
void ss_replace_soap_sentence_count_V3(_parseblk* pb, const char* name, const char* text,
                                       uint32_t count);

// Releases a queue: for each node its name, its value, then the node.
void ss_deallocate_soap_sentences(_soap_sent_info* sentence);
