// One request to the management server: send the built request, repeat it
// while the server is busy, and judge the tokenized reply.
#pragma once

#include "corvane_state.h"
#include "corvane_token.h"

// Sends soap_buffer; 0 with the reply in `response`, 1 after a message.
int ss_soap_exchange(_parseblk* pb);
int ss_soap_exchange_retries(_parseblk* pb);

// Success test of a change: exactly one of SuccessMsg and NotSuccessMsg.
int ss_check_success_fail(_parseblk* pb);
// Failure test of a read: 1 (after the message) when NotSuccessMsg came
// back, or when the reply is empty or holds no element at all.
int ss_test_for_soap_failure(_parseblk* pb);
// Whether a tokenized reply holds any element, and whether it holds its
// outcome (SuccessMsg, NotSuccessMsg or a statuscode).
bool ss_reply_holds_elements(const _token_info* root);
bool ss_reply_holds_outcome(const _token_info* root);
constexpr const char ss_reply_unreadable_message[] =
    "\nError: The server's reply holds none of the elements this command reads";

// The client library's debug level from DEBUG FENN_FLAGS: "111" is level 2,
// any other text level 1; an empty text leaves the level as it is.
void ss_set_client_debug_level(_parseblk* pb);

// Exchange, then a fresh token tree in `tokens` from the reply: 0 or 1.
int ss_exchange_and_tokenize(_parseblk* pb);

// Releases what a command's requests leave in the session state: the queued
// sentences, the operation name of an envelope left unfinished, the reply
// text and its token tree. Run after every command.
void ss_release_request_mem(_parseblk* pb);
