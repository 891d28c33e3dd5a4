#include "corvane_exchange.h"

#include <cstdio>
#include <cstring>
#include <ctime>
#include <initializer_list>

#include "corvane_memory.h"
#include "corvane_seams.h"
#include "corvane_sentence.h"
#include "corvane_token.h"
#include "corvane_tokenizer.h"

namespace {
constexpr unsigned retry_interval_seconds = 10;
constexpr int error_text_size = 2048;
// Whether the reply last tokenized was empty or blanks only (for the
// failure test of a read, which runs after the tree took the reply over).
bool reply_was_blank = false;

// A debug log that cannot be opened or kept to its size is told once a run
// for each of the two conditions, not after every command.
void report_client_debug_log() {
    constexpr int cannot_open = 400;  // the library's code; any other is a blocked rotation
    static bool told[2] = {};         // [1]: cannot open, [0]: rotation
    char text[error_text_size] = {};
    int code = ss_client_debug_log_status(text, error_text_size);
    if (code == 0 || told[code == cannot_open]) return;
    told[code == cannot_open] = true;
    std::fprintf(OutFile, "\nWarning: %s", text);
}

}  // namespace

void ss_set_client_debug_level(_parseblk* pb) {
    const char* flags = pb->state->fenn_flags;
    if (!flags || !*flags) return;
    ss_client().set_debug_mode(std::strcmp(flags, "111") == 0 ? 2 : 1, nullptr);
    report_client_debug_log();
}

int ss_soap_exchange_retries(_parseblk* pb) {
    session_state* s = pb->state;
    long countdown = static_cast<long>(minutes_to_retry) * 6;
    // Each attempt can take time of its own (the library retries a busy
    // reply by itself too), so the window is also kept by the clock: no
    // retry starts that would end past it.
    time_t started = ss_time_now();
    long window = static_cast<long>(minutes_to_retry) * 60;
    ss_set_client_debug_level(pb);
    int code = 0;
    for (bool first = true;; first = false) {
        if (!first) {
            std::fputs(countdown + 1 == static_cast<long>(minutes_to_retry) * 6 ? "\nRetrying command" : ".",
                       OutFile);
            std::fflush(OutFile);
            ss_sleep(retry_interval_seconds);
        }
        delete[] s->response;
        s->response = nullptr;
        int length = 0;
        code = ss_client().command_ex(s->soap_buffer, &s->response, &length, 0);
        if (!s->response) s->response = new char[1]{};
        if (code != 0 || ss_client().retries_required(s->response) == 0) break;
        if (--countdown < 0) break;
        if (static_cast<long>(ss_time_now() - started) + static_cast<long>(retry_interval_seconds) > window) break;
    }
    if (s->fenn_flags && *s->fenn_flags) report_client_debug_log();
    if (code != 0) {
        char text[error_text_size] = {};
        ss_client().get_error_description(code, text, error_text_size);
        std::fprintf(OutFile, "\nError: %s", text);
        return 1;
    }
    if (std::strstr(s->response, "<!DOCTYPE")) {
        std::fputs("\nError: Server currently down, stopped or restarting", OutFile);
        return 1;
    }
    return 0;
}

int ss_soap_exchange(_parseblk* pb) {
    session_state* s = pb->state;
    bool dump = s->session_flags & debug_dump;
    if (dump) {
        std::fputs("\nSend SOAP command:++++++++++++++++++++", OutFile);
        std::fprintf(OutFile, "\n\n*****%s*****\n\n", s->soap_buffer);
    }
    if (ss_soap_exchange_retries(pb) != 0) return 1;
    if (dump) {
        std::fputs("\nSOAP response:--------------------", OutFile);
        std::fprintf(OutFile, "\nLength of buffer = %d", static_cast<int>(std::strlen(s->response)));
        std::fprintf(OutFile, "\n\n*****%s*****\n\n", s->response);
    }
    return 0;
}

int ss_exchange_and_tokenize(_parseblk* pb) {
    session_state* s = pb->state;
    if (ss_soap_exchange(pb) != 0) return 1;
    ss_deallocate_tokens(s->tokens);
    s->tokens = ss_allocate_token();
    const char* text = s->response;
    while (*text == ' ' || *text == '\t' || *text == '\r' || *text == '\n') ++text;
    reply_was_blank = *text == '\0';
    // The tree takes the reply over and points into it: a large reply is
    // held once, not once as text and again as tokens.
    char* reply = s->response;
    s->response = nullptr;
    return ss_parse_soap_reply_in_place(pb, reply, s->tokens);
}

bool ss_reply_holds_elements(const _token_info* root) {
    // Iterative: reply chains can be arbitrarily long.
    for (const _token_info* row = root; row; row = row->sub)
        for (const _token_info* t = row; t; t = t->next)
            if (t->name || t->array_label || t->category || (t != row && t->sub)) return true;
    return false;
}

bool ss_reply_holds_outcome(const _token_info* root) {
    auto* tree = const_cast<_token_info*>(root);  // the search only reads
    for (const char* name : {"SuccessMsg", "NotSuccessMsg", "statuscode"})
        if (ss_tokens_find_name(tree, name)) return true;
    return false;
}

int ss_test_for_soap_failure(_parseblk* pb) {
    session_state* s = pb->state;
    _token_info* failure = ss_tokens_find_name(s->tokens, "NotSuccessMsg");
    if (failure) {
        std::fprintf(OutFile, "\nError: %s", failure->value ? failure->value : "");
        return 1;
    }
    // An empty document, or one with no element in it, would otherwise
    // pass for a read that found nothing.
    if (ss_reply_holds_elements(s->tokens)) return 0;
    std::fputs(reply_was_blank ? "\nError: The server sent an empty reply" : ss_reply_unreadable_message, OutFile);
    return 1;
}

int ss_check_success_fail(_parseblk* pb) {
    session_state* s = pb->state;
    _token_info* success = ss_tokens_find_name(s->tokens, "SuccessMsg");
    _token_info* failure = ss_tokens_find_name(s->tokens, "NotSuccessMsg");
    if (success && failure) {
        std::fputs("\nError: Both SUCCESS and FAILURE were returned by this command", OutFile);
        return 1;
    }
    if (success) {
        s->command_flags |= request_succeeded;
        return 0;
    }
    if (failure) {
        std::fprintf(OutFile, "\nError: %s", failure->value ? failure->value : "");
        s->command_flags |= request_failed;
        return 0;
    }
    std::fputs("\nError: Neither SUCCESS nor FAILURE were returned by this command", OutFile);
    return 1;
}

void ss_release_request_mem(_parseblk* pb) {
    session_state* s = pb->state;
    // A command that stopped between envelope header and trailer leaves the
    // operation name behind; release it here rather than keep it to the end.
    ss_release_text(s->soap_command);
    ss_deallocate_tokens(s->tokens);
    s->tokens = nullptr;
    ss_deallocate_soap_sentences(s->sentences);
    s->sentences = nullptr;
    delete[] s->response;
    s->response = nullptr;
}
