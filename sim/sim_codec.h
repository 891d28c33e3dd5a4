// Digests and encodings the simulator checks credentials with: MD5 written
// as upper-case hexadecimal (through OpenSSL's EVP interface), Base64
// decoding, and the XML escaping of the bridge payload.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace talosim {

// 32 upper-case hexadecimal digits of the MD5 digest of `text`.
std::string md5_upper_hex(std::string_view text);

// Decodes standard Base64, skipping line breaks and blanks (long codes carry
// "\r\n" breaks). Returns nothing for any other character or bad padding.
std::optional<std::string> base64_decode(std::string_view code);

std::string base64_encode(std::string_view data);

// Escapes "&", "<" and ">" so the text can stand inside an XML element.
std::string xml_escape(std::string_view text);

// Undoes the five predefined XML entities; any other "&" stays as it is.
std::string xml_unescape(std::string_view text);

}  // namespace talosim
