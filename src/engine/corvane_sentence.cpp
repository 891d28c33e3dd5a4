#include "corvane_sentence.h"

#include "corvane_memory.h"

namespace {
const char ss_module[] = "corvane_soap";
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
