// The management server's vendor namespace: written into version-3 request
// envelopes and recognised on reply envelopes. Defined once here so the
// request builder and the reply tokenizer (and the benchmark's replies) agree.
#pragma once

#define CORVANE_VENDOR_SITE "http://www.veltra.com"

// Namespace of the version-3 request envelope.
inline constexpr char ss_vendor_namespace_v32[] = CORVANE_VENDOR_SITE "/qxapiv32";
// The reply envelope opening: the replies' namespace (".../qxapiv3") both as
// default and as qxapi.
inline constexpr char ss_vendor_reply_envelope[] =
    "<SOAP:Envelope xmlns=\"" CORVANE_VENDOR_SITE "/qxapiv3\" xmlns:qxapi=\"" CORVANE_VENDOR_SITE
    "/qxapiv3\">";
