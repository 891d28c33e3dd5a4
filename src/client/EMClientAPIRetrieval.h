// What the two retrievals of the legacy request dialect (a file, controller
// data) share between the legacy and the current interface: the request
// text, the answer between the GetResponse tags, and putting the answer
// where the caller wants it. Inside the library.
#pragma once

#include <cstddef>

#include "SString.h"

// The retrieval request; typeLines are the lines after the user name that
// say what is asked for. Null texts count as empty.
SString EMClientAPIRetrievalRequest(const char* server, const char* port, const char* elementId, const char* user,
                                    const char* password, const SString& typeLines);
SString EMClientAPIFileTypeLines(const char* fileName);
SString EMClientAPIControllerDataTypeLines(int dataType);

// The file name the server is asked for: what follows the local path's last
// "\" or "/".
const char* EMClientAPIRetrievalFileName(const char* localPath);

// Finds the answer: the text after the start tag (line feeds and carriage
// returns that directly follow it skipped) up to the end tag. 0 with
// [from, to) set; noStartCode without the start tag; 203 without the end tag.
// Reports nothing: the caller logs the code in its interface's form.
int EMClientAPIRetrievalAnswer(const SString& response, int noStartCode, int& from, int& to);

// Writes the bytes as the whole content of path, or leaves whatever is there
// as it was: the data goes to a private temporary file beside the target
// (mode 0600), which is renamed over it only once every byte is written. A
// path that is a symbolic link, or anything but a plain file, is refused
// and never followed. 0, 402 (refused, or no temporary file can be made) or
// 403 (a write or the rename failed; the temporary file is removed).
int EMClientAPIWriteClientFile(const char* path, const char* data, size_t size);

// Decodes the Base64 answer text[0, n) into out: 301 unless n is below
// outSize, 302 when the decoder has no memory, else 0 with as many bytes as
// the text has characters copied (the decoded bytes, then zeros). out has
// been zeroed over outSize by the caller.
int EMClientAPIDecodeControllerData(const char* text, int n, unsigned char* out, int outSize);
