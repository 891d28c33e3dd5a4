// Any bytes as what the legacy web agent sends back to the login (its login
// page, its login answer, a refused request) and as a cookie file's bytes:
// no crash, no hang, no leak, and every value taken out is a whole
// 56-character token that stood in the input after its marker.
#include <cstdint>
#include <cstring>
#include <string>

#include "EMClientAPISecurity.h"

namespace {

void check(bool holds) {
    if (!holds) __builtin_trap();
}

constexpr size_t kToken = 56;

// value is empty, or the 56 bytes after the first marker of text.
void check_token(const SString& value, const std::string& text, const char* marker) {
    if (value.IsEmpty()) return;
    check(value.GetBufferSize() == static_cast<int>(kToken));
    size_t at = text.find(marker);  // NUL bytes included, as the library searches
    check(at != std::string::npos);
    check(text.compare(at + std::strlen(marker), kToken, value.GetBufferPointer(), kToken) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* bytes = reinterpret_cast<const char*>(data);
    std::string text(bytes, size);
    SString page;
    if (page.AssignRange(bytes, size) != 0) return 0;

    bool marked = false;
    SString key = EMClientAPISessionKeyOf(page, marked);
    check(marked || key.IsEmpty());
    check_token(key, text, "<PARAM NAME=SessionKey VALUE=\"Tessel-KLMD=");
    if (!key.IsEmpty()) check(key.Replace(20, 4, "0002") == 0 && key.GetBufferSize() == static_cast<int>(kToken));

    check_token(EMClientAPISessionCookieOf(page), text, "Set-Cookie: Tessel-KLMD=");
    EMClientAPISessionRefused(page);

    // The same bytes as a cookie file kept for one manager and user.
    SString owner = EMClientAPISessionOwner(SString("array"), SString("2301"), SString("administrator"));
    SString stored = EMClientAPIStoredSession(bytes, size, owner);
    if (!stored.IsEmpty()) {
        const size_t head = static_cast<size_t>(owner.GetBufferSize());
        check(stored.GetBufferSize() == static_cast<int>(kToken));
        check(text.compare(0, head, owner.GetBufferPointer()) == 0);
        check(text.compare(head, kToken, stored.GetBufferPointer(), kToken) == 0);
    }
    return 0;
}
