// The management server's vendor namespace: written into version-3 request
// envelopes and recognised on reply envelopes. Defined once here so the
// request builder, the reply tokenizer and the simulator agree.
#pragma once

#define CORVANE_VENDOR_SITE "http://www.veltra.com"

// Namespace of the version-3 request envelope.
inline constexpr char ss_vendor_namespace_v32[] = CORVANE_VENDOR_SITE "/qxapiv32";
// Namespace the server's reply envelopes carry (both as default and as qxapi).
inline constexpr char ss_vendor_namespace_v3[] = CORVANE_VENDOR_SITE "/qxapiv3";
// The reply envelope opening that names that namespace.
inline constexpr char ss_vendor_reply_envelope[] =
    "<SOAP:Envelope xmlns=\"" CORVANE_VENDOR_SITE "/qxapiv3\" xmlns:qxapi=\"" CORVANE_VENDOR_SITE
    "/qxapiv3\">";
