#include "corvane_names.h"

#include <cstdio>
#include <cstring>

#include "corvane_memory.h"
#include "corvane_prompt.h"
#include "corvane_sentence.h"

namespace {
const char ss_module[] = "corvane_names";

const char forbidden_chars[] = "?\"/\\<>*|:&+,%";

bool inside(const char* p, const char* begin, const char* end) {
    auto at = reinterpret_cast<uintptr_t>(p);
    return at >= reinterpret_cast<uintptr_t>(begin) && at < reinterpret_cast<uintptr_t>(end);
}

// Column of the character `text[index]` in the echoed command line. Values
// still inside the command text are placed exactly; a copy is placed from the
// parser's position after the value, less the value's length.
long caret_column(const _parseblk* pb, const char* text, uint32_t length, uint32_t index) {
    long offset;
    const char* command_end = pb->cursor ? pb->cursor + pb->remaining : nullptr;
    if (pb->command_start && command_end && inside(text, pb->command_start, command_end + 1))
        offset = (text - pb->command_start) + index;
    else if (pb->command_start && pb->cursor)
        offset = (pb->cursor - pb->command_start) - static_cast<long>(length) + index;
    else
        offset = index;
    if (offset < 0) offset = 0;
    return static_cast<long>(std::strlen(ss_prompt_name(pb))) + 2 + offset;
}

void replace_text(char** field, const char* text, uint32_t length) {
    ss_deallocate_mem(*field, ss_module, __LINE__);
    *field = ss_copy_count(text, length);
}
}  // namespace

int ss_valid_chars(_parseblk* pb, const char* text, uint32_t length, const char* word) {
    for (uint32_t i = 0; i < length; ++i) {
        char c = text[i];
        bool unprintable = c < 32 || c > 126;
        if (!unprintable && !std::memchr(forbidden_chars, c, sizeof forbidden_chars - 1)) continue;
        ss_print_caret(static_cast<int>(caret_column(pb, text, length, i)));
        if (unprintable)
            std::fprintf(OutFile, "\nError: Invalid non-printable character in %s at or near here",
                         word);
        else
            std::fprintf(OutFile, "\nError: Invalid character \"%c\" in %s at or near here", c, word);
        return 1;
    }
    return 0;
}

int ss_valid_characters(_parseblk* pb, const char* text, uint32_t length) {
    if (length > ss_max_name_length) {
        std::fprintf(OutFile, "\nError: Name too long, limit %u characters", ss_max_name_length);
        return 1;
    }
    return ss_valid_chars(pb, text, length, "name");
}

int ss_validate_and_copy_name(_parseblk* pb, char** field) {
    replace_text(field, pb->string_value, pb->string_length);
    return 0;
}

int ss_validate_and_copy_name_sentence(_parseblk* pb, const char* sentence, char** field) {
    ss_validate_and_copy_name(pb, field);
    ss_replace_soap_sentence(pb, sentence, *field);
    return 0;
}

int ss_object_name(_parseblk* pb) { return ss_validate_and_copy_name(pb, &pb->state->object_name); }

namespace {
int new_name(_parseblk* pb, bool version3) {
    const char* value = pb->string_value;
    uint32_t length = pb->string_length;
    if (length && std::memchr(value, '\\', length)) {
        std::fputs("\nError: Cannot specify directory or \\ACTIVE on the new name", OutFile);
        return 1;
    }
    if (version3)
        ss_replace_soap_sentence_count_V3(pb, "objectname", value, length);
    else
        ss_replace_soap_sentence_count(pb, "Name", value, length);
    replace_text(&pb->state->new_name, value, length);
    return ss_valid_characters(pb, value, length);
}
}  // namespace

int ss_rename_newname(_parseblk* pb) { return new_name(pb, false); }

int ss_rename_newname_V3(_parseblk* pb) { return new_name(pb, true); }

int ss_comment(_parseblk* pb) {
    if (pb->string_length > ss_max_comment_length) {
        std::fprintf(OutFile, "\nError: Comment too long, limit %u characters",
                     ss_max_comment_length);
        return 1;
    }
    ss_replace_soap_sentence_count(pb, "comments", pb->string_value, pb->string_length);
    return ss_valid_chars(pb, pb->string_value, pb->string_length, "comment");
}

int ss_raven_id(_parseblk* pb) {
    if (pb->number > ss_max_os_unit_id) {
        std::fprintf(OutFile, "\nError: Maximum OS ID is %d", static_cast<int>(ss_max_os_unit_id));
        return 1;
    }
    char digits[16];
    std::snprintf(digits, sizeof digits, "%u", pb->number);
    ss_replace_soap_sentence(pb, "RavenID", digits);
    return 0;
}
