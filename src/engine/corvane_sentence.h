// One queued request element ("sentence"): a name and its text value.
#pragma once

struct _soap_sent_info {
    _soap_sent_info* next;
    char* name;
    char* value;
};

// Releases a queue: for each node its name, its value, then the node.
void ss_deallocate_soap_sentences(_soap_sent_info* sentence);
