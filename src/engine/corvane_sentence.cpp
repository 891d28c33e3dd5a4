#include "corvane_sentence.h"

#include <cstring>

#include "corvane_memory.h"
#include "corvane_state.h"

namespace {
const char ss_module[] = "corvane_sentence";

enum class place { head, tail };

// Queues stay short (a command line holds a few dozen values at most), so
// the linear search for a name or for the tail costs nothing worth a tail
// pointer in the session state.
void queue_sentence(_parseblk* pb, const char* name, const char* text, uint32_t count, bool replace,
                    place where) {
    char* value = ss_copy_count(text ? text : "", text ? count : 0);
    _soap_sent_info** head = &pb->state->sentences;
    if (replace) {
        for (_soap_sent_info* s = *head; s; s = s->next) {
            if (std::strcmp(s->name, name) == 0) {
                ss_deallocate_mem(s->value, ss_module, __LINE__);
                s->value = value;
                return;
            }
        }
    }
    auto* node = static_cast<_soap_sent_info*>(
        ss_allocate_mem(sizeof(_soap_sent_info), ss_module, __LINE__));
    node->name = ss_copy_string(name);
    node->value = value;
    if (where == place::head) {
        node->next = *head;
        *head = node;
        return;
    }
    _soap_sent_info** link = head;
    while (*link) link = &(*link)->next;
    *link = node;
}

uint32_t length_of(const char* value) {
    return value ? static_cast<uint32_t>(std::strlen(value)) : 0;
}
}  // namespace

void ss_soap_sentence_count(_parseblk* pb, const char* name, const char* text, uint32_t count,
                            bool replace) {
    queue_sentence(pb, name, text, count, replace, place::head);
}

void ss_soap_sentence_count_V3(_parseblk* pb, const char* name, const char* text, uint32_t count,
                               bool replace) {
    queue_sentence(pb, name, text, count, replace, place::tail);
}

void ss_add_soap_sentence(_parseblk* pb, const char* name, const char* value) {
    ss_soap_sentence_count(pb, name, value, length_of(value), false);
}

void ss_add_soap_sentence_count(_parseblk* pb, const char* name, const char* text, uint32_t count) {
    ss_soap_sentence_count(pb, name, text, count, false);
}

void ss_replace_soap_sentence(_parseblk* pb, const char* name, const char* value) {
    ss_soap_sentence_count(pb, name, value, length_of(value), true);
}

void ss_replace_soap_sentence_count(_parseblk* pb, const char* name, const char* text,
                                    uint32_t count) {
    ss_soap_sentence_count(pb, name, text, count, true);
}

void ss_add_soap_sentence_V3(_parseblk* pb, const char* name, const char* value) {
    ss_soap_sentence_count_V3(pb, name, value, length_of(value), false);
}

void ss_add_soap_sentence_count_V3(_parseblk* pb, const char* name, const char* text,
                                   uint32_t count) {
    ss_soap_sentence_count_V3(pb, name, text, count, false);
}

void ss_replace_soap_sentence_V3(_parseblk* pb, const char* name, const char* value) {
    ss_soap_sentence_count_V3(pb, name, value, length_of(value), true);
}

void ss_replace_soap_sentence_count_V3(_parseblk* pb, const char* name, const char* text,
                                       uint32_t count) {
    ss_soap_sentence_count_V3(pb, name, text, count, true);
}

void ss_deallocate_soap_sentences(_soap_sent_info* sentence) {
    while (sentence) {
        _soap_sent_info* next = sentence->next;
        ss_deallocate_mem(sentence->name, ss_module, __LINE__);
        ss_deallocate_mem(sentence->value, ss_module, __LINE__);
        ss_deallocate_mem(sentence, ss_module, __LINE__);
        sentence = next;
    }
}
