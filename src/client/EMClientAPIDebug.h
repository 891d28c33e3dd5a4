// The client library's debug log: one text file of time-stamped entries with
// a size limit and a single rotated predecessor, shared by the current and
// the legacy interface. The file holds credentials, so it is only ever
// created private and never opened through a symbolic link.
#pragma once

#include "SString.h"

// Legacy interface settings: level 0 off, 1 requests and replies, 2 also the
// step-by-step trace. The file name and size limit take their defaults
// ("/tmp/EMClientAPIDebug.txt", 5000000 bytes) at the first write.
extern int gnDebugMode;
extern SString gstrDebugFilename;
extern SString gstrOldDebugFilename;
extern int gnFileSize;

// Current interface's copies. Only the level is read; the other three are
// kept for callers that set them, but both interfaces log to the one file.
extern int gnTNGDebugMode;
extern SString gstrTNGDebugFilename;
extern SString gstrTNGOldDebugFilename;
extern int gnTNGFileSize;

// Set while the current interface's writer is writing; a writer that finds
// it set waits (one second at a time) until it clears.
extern int gnTNGDebugBusy;

// A null file name keeps the current one.
void EMClientAPISetDebugMode(int level, const char* fileName);
void EMClientAPITNGSetDebugMode(int level, const char* fileName);

// One entry: the ctime text, an empty line, the text. Reads FILE_NAME,
// FILE_SIZE and LOG_LEVEL from the environment first. 0 when written or when
// the level is 0; 300 for a level other than 1 or 2, a null text or a size
// limit below 500; 400 when the file cannot be opened safely; 404 when the
// entry was written but rotation could not replace the older file, so the
// log was emptied first.
int EMClientAPIWriteDebugFile(const char* text);
int EMClientAPIWriteDebugFile(const SString& text);  // nothing at level 0

// The same entry, serialised by gnTNGDebugBusy.
int EMClientAPITNGWriteDebugFile(const char* text);
// Nothing (0) while the current interface's level is 0.
int EMClientAPITNGDebugLog(const char* text);
int EMClientAPITNGDebugLog(const SString& text);

// Level-gated entries: written when the interface's level is at least
// `level`; with a text, the line and then the text as a second entry.
void EMClientAPILogAt(int level, const char* line, const SString* text = nullptr);
void EMClientAPITNGLogAt(int level, const char* line, const SString* text = nullptr);

// The latest condition that kept the log from working as set, held until it
// is read (reading clears it): 0 when there was none, 400 when the log could
// not be opened (nothing is logged), 404 when rotation could not replace the
// older file (the log was emptied instead). text, unless null, receives a
// line naming the file and the reason (size bytes at most, NUL included).
// The library never prints: the program decides whether to tell the user.
int EMClientAPIDebugLogStatus(char* text, int size);
